// The small windows are wired to their models: widgets exist under their
// control names, user events reach the models, the windows show the models'
// state and apply what they decide.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

#include "core/units.h"
#include "docs/app_panels.h"
#include "recording_dialogs.h"
#include "support/test_paths.h"
#include "ui/about_box_window.h"
#include "ui/about_form_window.h"
#include "ui/app_form_window.h"
#include "ui/setting_window.h"
#include "workspace/dialogs.h"

namespace vst::ui {
namespace {

using test::RecordingDialogs;

template <typename T>
T* Find(QObject* root, const char* name) {
  return root->findChild<T*>(QString::fromLatin1(name));
}

QAction* FindAction(QWidget* root, const char* name) {
  for (QAction* a : root->findChildren<QAction*>()) {
    if (a->objectName() == QLatin1String(name)) return a;
  }
  return nullptr;
}

TEST(StartupWindowGui, CommandEmitsTheUnitChoiceAndCloses) {
  struct Row {
    const char* button;
    int units;
    int pressureUnit;
  } rows[] = {{"English", 0, 0}, {"Metric", 1, 2}};
  for (const Row& r : rows) {
    About_Form window;
    window.show();
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Vantrel\u00AE   Steam Tracing"));
    auto* version = Find<QLabel>(&window, "lblVersion");
    ASSERT_TRUE(version);
    EXPECT_EQ(version->text(), QStringLiteral("(Version 3.0.1)"));
    auto* button = Find<QPushButton>(&window, r.button);
    ASSERT_TRUE(button) << r.button;
    QSignalSpy chosen(&window, &About_Form::unitSystemChosen);
    button->click();
    ASSERT_EQ(chosen.count(), 1) << r.button;
    EXPECT_EQ(chosen.at(0).at(0).toInt(), r.units) << r.button;
    EXPECT_EQ(chosen.at(0).at(1).toInt(), r.pressureUnit) << r.button;
    EXPECT_FALSE(window.isVisible()) << r.button;
  }
}

TEST(SettingGui, DoneAppliesTheConvertedPressure) {
  RecordingDialogs dialogs;
  PreferencesModel model(PreferencesInput{UnitSystem::Metric, PressureUnit::BarG, 1, "3.4", '.'}, dialogs);
  Setting window(model);
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral(" Preference"));
  auto* sizing = Find<QComboBox>(&window, "Combo2");
  auto* unit = Find<QComboBox>(&window, "Combo1");
  auto* done = Find<QPushButton>(&window, "Command1");
  ASSERT_TRUE(sizing && unit && done);
  EXPECT_EQ(sizing->currentText(), QStringLiteral("MINIMAL"));
  EXPECT_EQ(unit->currentText(), QStringLiteral("bar g"));
  EXPECT_TRUE(unit->isVisible());
  EXPECT_TRUE(Find<QLabel>(&window, "Label1")->isVisible());

  sizing->setCurrentIndex(0);
  emit sizing->activated(0);
  unit->setCurrentIndex(1);
  emit unit->activated(1);
  done->click();
  ASSERT_TRUE(window.outcome());
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(StoredNumber(window.outcome()->insulationSizing), 0);
  EXPECT_EQ(StoredNumber(window.outcome()->pressureUnit), 1);
  EXPECT_EQ(window.outcome()->pressureText.value_or(""), "441.280098405462");
  EXPECT_EQ(window.outcome()->pressureCaption.value_or(""), " kPa");
}

TEST(SettingGui, EnglishUnitsShowOnlyTheSizingList) {
  RecordingDialogs dialogs;
  PreferencesModel model(PreferencesInput{UnitSystem::English, PressureUnit::Psig, 0, "50", '.'}, dialogs);
  Setting window(model);
  window.show();
  EXPECT_FALSE(Find<QComboBox>(&window, "Combo1")->isVisible());
  EXPECT_FALSE(Find<QLabel>(&window, "Label1")->isVisible());
  EXPECT_TRUE(Find<QComboBox>(&window, "Combo2")->isVisible());
  EXPECT_EQ(Find<QLabel>(&window, "Label3")->text(), QStringLiteral("Standard Oversizing  "));
}

TEST(SettingGui, NotesMenuShowsTheSizingNote) {
  RecordingDialogs dialogs;
  PreferencesModel model(PreferencesInput{UnitSystem::English, PressureUnit::Psig, 0, "50", '.'}, dialogs);
  Setting window(model);
  window.show();
  QAction* menu = FindAction(&window, "Note");
  QAction* item = FindAction(&window, "InsulationSize");
  ASSERT_TRUE(menu && item);
  EXPECT_EQ(menu->text(), QStringLiteral("&Notes"));
  EXPECT_EQ(item->text(), QStringLiteral("Insulation Sizing"));
  item->trigger();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Coverlyn");
  EXPECT_TRUE(window.isVisible());
}

TEST(AboutFormGui, CtrlAltKeyOnThePictureArmsTheDoubleClick) {
  int toggles = 0;
  AboutForm box([&] { ++toggles; });
  box.show();
  EXPECT_EQ(box.windowTitle(), QStringLiteral("About Vaporix"));
  EXPECT_EQ(Find<QLabel>(&box, "lblVersion")->text(), QStringLiteral("Version 3.0.1"));
  auto* picture = Find<QLabel>(&box, "imgISO");
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->focusPolicy(), Qt::StrongFocus);
  EXPECT_FALSE(picture->pixmap().isNull());

  QTest::mouseDClick(picture, Qt::LeftButton);
  EXPECT_EQ(toggles, 0);
  QTest::keyClick(picture, Qt::Key_V, Qt::ControlModifier | Qt::AltModifier);
  QTest::mouseDClick(picture, Qt::LeftButton);
  QTest::mouseDClick(picture, Qt::LeftButton);
  EXPECT_EQ(toggles, 2);
  QTest::keyClick(picture, Qt::Key_V, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
  QTest::mouseDClick(picture, Qt::LeftButton);
  EXPECT_EQ(toggles, 2);
}

TEST(AboutFormGui, OkCloses) {
  AboutForm box([] {});
  box.show();
  auto* ok = Find<QPushButton>(&box, "SSCommand1");
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->text(), QStringLiteral("&OK"));
  ok->click();
  EXPECT_FALSE(box.isVisible());
}

// Rows of pixels below the picture that hold dark (text) pixels.
int TextRows(const AppForm& form, int fromY) {
  QImage image(1000, 1000, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  const QSize size = form.paintPanel(painter);
  painter.end();
  int rows = 0;
  for (int y = fromY; y < std::min(size.height(), image.height()); ++y) {
    for (int x = 0; x < std::min(size.width(), image.width()); ++x) {
      if (qGray(image.pixel(x, y)) < 100) {
        ++rows;
        break;
      }
    }
  }
  return rows;
}

TEST(AppFormGui, ShowsPictureCaptionAndTextAndReplacesThem) {
  AppForm form(UnitSystem::English);
  form.setPictureFolder(QString::fromStdString(vst::test::BinDir()));
  form.showPanel("clipstrip");
  form.show();
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Clipstrip\u00AE Heat Transfer Strip"));
  ASSERT_FALSE(form.picture().isNull()) << "CHANNEL.BMP in " << vst::test::BinDir();
  const int pictureHeight = form.picture().height();
  EXPECT_GT(TextRows(form, pictureHeight), 20);

  form.showPanel("wrapcore");
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Wrapcore\u00AE Pre-Insulated Tubing"));
  EXPECT_EQ(form.model().panel()->picture, "WRAP.BMP");
  EXPECT_FALSE(form.picture().isNull());

  form.showPanel("no such panel");
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Wrapcore\u00AE Pre-Insulated Tubing"));
}

TEST(AppFormGui, MissingPictureStillPrintsTheText) {
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  AppForm form(UnitSystem::English);
  form.setPictureFolder(empty.path());
  form.showPanel("E72");
  form.show();
  EXPECT_TRUE(form.picture().isNull());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Type E-72 Heat Transfer Compound"));
  EXPECT_GT(TextRows(form, 0), 20);
}

TEST(AppFormGui, PrintsThePanelToThePrinter) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  AppForm form(UnitSystem::English);
  form.setPictureFolder(QString::fromStdString(vst::test::BinDir()));
  form.showPanel("K30");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString path = dir.filePath(QStringLiteral("panel.pdf"));
  printer.setOutputFileName(path);
  form.print(printer);
  EXPECT_GT(QFileInfo(path).size(), 10000);
}

TEST(AppFormGui, ReturnCloses) {
  AppForm form(UnitSystem::English);
  form.showPanel("cond1");
  form.show();
  QAction* print = FindAction(&form, "mnuPrint");
  QAction* back = FindAction(&form, "mnuReturn");
  ASSERT_TRUE(print && back);
  EXPECT_EQ(print->text(), QStringLiteral("&Print"));
  EXPECT_EQ(back->text(), QStringLiteral("&Return"));
  back->trigger();
  EXPECT_FALSE(form.isVisible());
}

}  // namespace
}  // namespace vst::ui
