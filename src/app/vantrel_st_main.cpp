// vantrel-st [FILE]: the start-up window asks for the unit system of the
// run; the main window then opens in it and the start-up window closes. A
// design file named on the command line (the desktop's "Open With") is then
// opened as the Files menu opens a chosen file. --help and --version print
// their text without a display (the manual page is made from them).
//
// Two options exist only for the start-up benchmark (bench/startup.sh) and
// the installation test:
//   --select-units english|metric  presses the start-up window's choice
//   --quit-after-shown             prints the time the main window was first
//                                  shown, its title and the program files
//                                  missing beside the executable, and ends
//                                  the program right away
#include <QAbstractButton>
#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/units.h"
#include "ui/about_form_window.h"
#include "ui/stmain.h"
#include "workspace/file_session.h"
#include "workspace/program_files.h"

#ifndef VST_VERSION
#error "VST_VERSION (the project version) must be defined by the build"
#endif

namespace {

constexpr const char* kHelp =
    "Usage: vantrel-st [FILE.mdb]\n"
    "Designs the steam tracing of insulated process piping, one pipe circuit at a time.\n"
    "\n"
    "The start-up window asks for the unit system of the run (English or SI Metric); the\n"
    "main window then opens in it. A design file named on the command line is opened as\n"
    "Files > Open File opens one.\n"
    "\n"
    "      --help     print this help and exit\n"
    "      --version  print the version and exit\n"
    "\n"
    "Line lists are designed without a window by vantrel-design.\n";

// --help or --version anywhere on the command line: its text, and no window.
bool PrintedInformation(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kHelp, stdout);
      return true;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::puts("vantrel-st (Vantrel ST) " VST_VERSION);
      return true;
    }
  }
  return false;
}

// The user's decimal separator as one character; "." when the locale's
// separator is not a single ASCII character.
char DecimalMark(const QLocale& locale) {
  const QString point = locale.decimalPoint();
  if (point.size() != 1 || point[0].unicode() >= 128) return '.';
  return static_cast<char>(point[0].unicode());
}

struct BenchOptions {
  QString selectUnits;  // "english", "metric" or empty
  bool quitAfterShown = false;
  QString file;  // a design file to open once the main window is shown
};

BenchOptions ParseOptions(const QStringList& args) {
  BenchOptions options;
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--select-units") && i + 1 < args.size()) {
      options.selectUnits = args[++i].toLower();
    } else if (args[i] == QLatin1String("--quit-after-shown")) {
      options.quitAfterShown = true;
    } else if (!args[i].startsWith(QLatin1Char('-')) && options.file.isEmpty()) {
      // Resolved now, in the folder the program was started in.
      std::error_code ec;
      const std::filesystem::path here = std::filesystem::current_path(ec);
      options.file = QString::fromStdString(vst::CommandLineFile(args[i].toStdString(), here).string());
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const auto started = std::chrono::steady_clock::now();
  if (PrintedInformation(argc, argv)) return 0;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantrel ST"));
  // The settings store (folder last used, recent files) and the desktop
  // entry's name for the windows of the program.
  QApplication::setOrganizationName(QStringLiteral("Vantrel"));
  QGuiApplication::setDesktopFileName(QStringLiteral("com.vantrel.VantrelST"));
  const char decimalMark = DecimalMark(QLocale());
  const BenchOptions options = ParseOptions(QApplication::arguments());

  auto* startup = new vst::ui::About_Form;
  startup->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(
      startup, &vst::ui::About_Form::unitSystemChosen, startup, [&](int units, int pressureUnit) {
        auto* window = new vst::ui::STmain(static_cast<vst::UnitSystem>(units),
                                           vst::PressureUnitFromStored(pressureUnit), decimalMark);
        window->setAttribute(Qt::WA_DeleteOnClose);
        if (options.quitAfterShown) {
          QObject::connect(window, &vst::ui::STmain::firstShown, window, [started, window] {
            // Let the first paint happen, then report and end.
            QTimer::singleShot(0, [started, window] {
              const auto now = std::chrono::steady_clock::now();
              const auto wall = std::chrono::system_clock::now().time_since_epoch();
              std::string missing;
              for (const std::string& name :
                   vst::MissingProgramFiles(QCoreApplication::applicationDirPath().toStdString())) {
                missing += (missing.empty() ? "" : ",") + name;
              }
              std::printf(
                  "main_to_shown_ms=%.1f shown_epoch_ns=%lld\nwindow_title=%s\nmissing_files=%s\n",
                  std::chrono::duration<double, std::milli>(now - started).count(),
                  static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(wall).count()),
                  window->windowTitle().toUtf8().constData(), missing.c_str());
              std::fflush(stdout);
              // exit(), not quit(): quit() would close the window and
              // so ask whether to save, which nobody answers here.
              QCoreApplication::exit(0);
            });
          });
        }
        window->show();  // the start-up window closes itself
        if (!options.file.isEmpty()) window->openDesignFile(options.file);
      });
  startup->show();

  if (!options.selectUnits.isEmpty()) {
    const QString command =
        options.selectUnits == QLatin1String("metric") ? QStringLiteral("Metric") : QStringLiteral("English");
    QTimer::singleShot(0, startup, [startup, command] {
      if (auto* button = startup->findChild<QAbstractButton*>(command)) button->click();
    });
  }
  return QApplication::exec();
}
