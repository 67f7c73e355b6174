// vst-make-template <file>: writes the empty design file template (table
// DATA with its ten rows) that new design files are copied from.
#include <cstdio>

#include "designfile/design_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <template file>\n", argc > 0 ? argv[0] : "vst-make-template");
    return 2;
  }
  const vst::DesignFileStatus status = vst::CreateDesignTemplate(argv[1]);
  if (!status.ok()) {
    std::fprintf(stderr, "%s: %s\n", argv[1], status.reason.c_str());
    return 1;
  }
  return 0;
}
