// design_file_save_loop: the saving side of the kill test
// (scripts/kill_test.sh), which interrupts it at random moments.
//
//   design_file_save_loop loop TEMPLATE TARGET   saves set A and set B in turn until killed
//   design_file_save_loop once TEMPLATE TARGET   saves set A once
//   design_file_save_loop check TARGET           prints A or B for the set the file holds;
//                                                exit 1 when it holds neither
#include <cstdio>
#include <string>

#include "core/legacy_math.h"
#include "designfile/design_file.h"

namespace {

// Two sets that differ in every record; their values survive a save
// exactly (the condensate load has three decimals).
vst::DesignRecords Set(char name) {
  vst::DesignRecords set;
  const float k = name == 'A' ? 1.0f : 2.0f;
  for (std::size_t i = 0; i < set.size(); ++i) {
    vst::DesignRecord& r = set[i];
    const float f = static_cast<float>(i);
    r.MAXAMB = 100 * k + f;
    r.MINAMB = -k - f;
    r.MAINTEMP = 150 + f * k;
    r.PIPELN = 30.5f * k + f;
    r.STEAMPRS = 3.45f * k;
    r.TP1 = 131.78f + f;
    r.TP2 = 282.8851f * k;
    r.COND = name == 'A' ? 0.125f : 0.25f;
    r.TLEN = 1000 * k + f;
    r.INSTHK = static_cast<int>(i % 7);
    r.CIRTXT = std::string("set ") + name + " circuit " + std::to_string(i + 1);
    r.TSIZ = name == 'A' ? "3/8'' O.D." : "1/2'' O.D.";
  }
  return set;
}

bool Holds(const std::string& target, char name) {
  const vst::DesignRecords expected = Set(name);
  const vst::DesignFileContents contents = vst::ReadDesignFile(target, expected);
  return contents.ok() && contents.records == expected && contents.internalMode == (name == 'B');
}

int Save(const std::string& templatePath, const std::string& target, char name) {
  const vst::DesignFileStatus status =
      vst::WriteDesignFile(target, templatePath, Set(name), name == 'B', vst::UnitSystem::English);
  if (!status.ok()) {
    std::fprintf(stderr, "design_file_save_loop: %s\n", status.reason.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string verb = argc > 1 ? argv[1] : "";
  if (verb == "check" && argc == 3) {
    for (char name : {'A', 'B'}) {
      if (Holds(argv[2], name)) {
        std::printf("%c\n", name);
        return 0;
      }
    }
    const vst::DesignFileContents contents = vst::ReadDesignFile(argv[2], {});
    std::printf("neither set: %s\n", contents.ok() ? "other records" : contents.status.reason.c_str());
    return 1;
  }
  if (verb == "once" && argc == 4) return Save(argv[2], argv[3], 'A');
  if (verb == "loop" && argc == 4) {
    for (;;) {
      for (char name : {'A', 'B'}) {
        if (Save(argv[2], argv[3], name) != 0) return 1;
      }
    }
  }
  std::fprintf(stderr, "usage: design_file_save_loop loop|once TEMPLATE TARGET | check TARGET\n");
  return 2;
}
