// vantrel-design: designs the circuits of a line list with the program's own
// design run, and shows the records of a design file, without a window.
#include <string>
#include <vector>

#include "batch/design_command.h"
#ifdef VST_PDF_MODULE
#include <dlfcn.h>

#include <cstring>

#include "app/vantrel_design_pdf.h"
#include "core/quoted_value.h"
#endif

#ifndef VST_VERSION
#error "VST_VERSION (the project version) must be defined by the build"
#endif

#ifdef VST_PDF_MODULE
namespace {

// The renderer of the PDF module beside the program, or why there is none.
struct LoadedRenderer {
  const vst::PdfModuleRenderer* renderer = nullptr;
  std::string problem;
};

// Loads the module from the program's folder. It stays loaded until the
// program ends (the application it creates for drawing lives as long).
LoadedRenderer LoadPdfModule(const std::string& programPath) {
  const std::string path = (vst::ProgramFolder(programPath) / VST_PDF_MODULE).string();
  const std::string cannot = "PDF printing needs " + vst::ShownName(path) + ", which ";
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* reason = dlerror();
    return {nullptr, cannot + "could not be loaded: " + (reason != nullptr ? reason : "no reason given")};
  }
  dlerror();
  using Entry = const vst::PdfModuleRenderer* (*)();
  const auto entry = reinterpret_cast<Entry>(dlsym(module, kPdfModuleEntry));
  if (entry == nullptr) {
    const char* reason = dlerror();
    return {nullptr, cannot + "has no renderer: " + (reason != nullptr ? reason : "no reason given")};
  }
  const vst::PdfModuleRenderer* renderer = entry();
  if (renderer == nullptr || renderer->render == nullptr || renderer->version == nullptr) {
    return {nullptr, cannot + "hands out no renderer"};
  }
  if (std::strcmp(renderer->version, VST_VERSION) != 0) {
    return {nullptr, cannot + "belongs to version " + renderer->version + ", not " + VST_VERSION};
  }
  return {renderer, {}};
}

}  // namespace
#endif

int main(int argc, char** argv) {
  vst::CommandEnvironment env;
  env.version = VST_VERSION;
  if (argc > 0 && argv[0] != nullptr) env.programPath = argv[0];
#ifdef VST_PDF_MODULE
  // Loaded on the first printout only: the commands that print none never
  // load Qt.
  env.pdf = [programPath = env.programPath](const vst::PageDescription& page, vst::Paper paper,
                                            std::string& pdf) {
    static const LoadedRenderer loaded = LoadPdfModule(programPath);
    if (loaded.renderer == nullptr) return loaded.problem;
    return loaded.renderer->render(page, paper, pdf);
  };
#endif
  std::vector<std::string> args;
  if (argc > 1) args.assign(argv + 1, argv + argc);
  return vst::RunDesignCommand(args, env);
}
