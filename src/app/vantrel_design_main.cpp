// vantrel-design: designs the circuits of a line list with the program's own
// design run, and shows the records of a design file, without a window.
#include <string>
#include <vector>

#include "batch/design_command.h"
#ifdef VST_WITH_PDF
#include "ui/pdf_output.h"
#endif

#ifndef VST_VERSION
#error "VST_VERSION (the project version) must be defined by the build"
#endif

int main(int argc, char** argv) {
  vst::CommandEnvironment env;
  env.version = VST_VERSION;
  if (argc > 0 && argv[0] != nullptr) env.programPath = argv[0];
#ifdef VST_WITH_PDF
  env.pdf = vst::ui::RenderPdfWithoutDisplay;
#endif
  std::vector<std::string> args;
  if (argc > 1) args.assign(argv + 1, argv + argc);
  return vst::RunDesignCommand(args, env);
}
