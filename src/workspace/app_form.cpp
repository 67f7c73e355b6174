#include "workspace/app_form.h"

namespace vst {

AppFormModel::AppFormModel() {
  controls_.add("mnuPrint", ControlKind::MenuItem, "&Print");
  controls_.add("mnuReturn", ControlKind::MenuItem, "&Return");
}

bool AppFormModel::show(std::string_view menuItem) {
  const AppPanel* p = FindAppPanel(menuItem);
  if (!p) return false;
  panel_ = p;
  return true;
}

std::string AppFormModel::caption() const { return panel_ ? panel_->caption : std::string(); }

bool AppFormModel::clicked(std::string_view name) const { return name == "mnuReturn"; }

}  // namespace vst
