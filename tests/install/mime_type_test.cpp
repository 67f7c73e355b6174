// The desktop recognises a design file by its content, with the program's
// shared-mime-info rule installed: under any name, and never another SQLite
// database, even one called *.mdb.
#include <gtest/gtest.h>

#include <QMimeDatabase>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "designfile/design_file.h"

namespace vst {
namespace {

namespace fs = std::filesystem;

TEST(DesignFileMimeType, IsRecognisedByContentAndOnlyForDesignFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const fs::path root = dir.path().toStdString();
  // The desktop's database as it is once the package is installed: the
  // system's types and the program's, compiled together.
  const fs::path packages = root / "share/mime/packages";
  fs::create_directories(packages);
  fs::copy_file("/usr/share/mime/packages/freedesktop.org.xml", packages / "freedesktop.org.xml");
  fs::copy_file(VST_MIME_XML, packages / "com.vantrel.VantrelST.xml");
  ASSERT_EQ(QProcess::execute(QStringLiteral("update-mime-database"),
                              {QString::fromStdString((root / "share/mime").string())}),
            0);
  // Before the first look-up, which reads the folders once.
  ::setenv("XDG_DATA_DIRS", (root / "share").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (root / "home").c_str(), 1);

  // A design file as the program saves it, and the same bytes without the
  // program's application id (any other SQLite database).
  ASSERT_TRUE(CreateDesignTemplate(root / "template.mdb").ok());
  DesignRecords records{};
  ASSERT_TRUE(
      WriteDesignFile(root / "set1.mdb", root / "template.mdb", records, false, UnitSystem::English).ok());
  fs::copy_file(root / "set1.mdb", root / "set1");
  fs::copy_file(root / "set1.mdb", root / "other.mdb");
  {
    std::fstream other(root / "other.mdb", std::ios::in | std::ios::out | std::ios::binary);
    other.seekp(68);
    other.write("\0\0\0\0", 4);
  }
  fs::copy_file(root / "other.mdb", root / "other");

  struct Case {
    const char* file;
    bool designFile;
  };
  const Case cases[] = {{"set1.mdb", true}, {"set1", true}, {"other.mdb", false}, {"other", false}};
  QMimeDatabase db;
  for (const Case& c : cases) {
    const QString type = db.mimeTypeForFile(QString::fromStdString((root / c.file).string())).name();
    EXPECT_EQ(type == QLatin1String("application/x-vantrel-design"), c.designFile)
        << c.file << " is " << type.toStdString();
  }
}

}  // namespace
}  // namespace vst
