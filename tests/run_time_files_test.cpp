// Where the program finds its run-time files: next to itself (build folder), in ../share/fenestrix
// beside its folder (installed), and which one when both or neither hold the file.
#include "platform/RunTimeFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct LayoutCase {
    const char* name;
    QStringList present; // relative to the root; a trailing "/" makes a folder
    QString found;       // relative to the root
};

TEST(RunTimeFiles, BuildFolderAndInstalledLayout)
{
    const LayoutCase cases[] = {
        {"build folder: next to the program", {"bin/FensterZM0.bmp"}, "bin/FensterZM0.bmp"},
        {"installed: share/fenestrix beside bin",
         {"share/fenestrix/FensterZM0.bmp"},
         "share/fenestrix/FensterZM0.bmp"},
        {"next to the program comes first",
         {"bin/FensterZM0.bmp", "share/fenestrix/FensterZM0.bmp"},
         "bin/FensterZM0.bmp"},
        {"a folder of that name is no file",
         {"bin/FensterZM0.bmp/", "share/fenestrix/FensterZM0.bmp"},
         "share/fenestrix/FensterZM0.bmp"},
        {"another program's share folder is not looked in",
         {"share/other/FensterZM0.bmp", "bin/share/fenestrix/FensterZM0.bmp"},
         "bin/FensterZM0.bmp"},
        {"neither: the one next to the program", {}, "bin/FensterZM0.bmp"},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        const QDir dir(root.path());
        ASSERT_TRUE(dir.mkpath(QStringLiteral("bin")));
        for (const QString& path : c.present) {
            if (path.endsWith(u'/')) {
                ASSERT_TRUE(dir.mkpath(path));
                continue;
            }
            ASSERT_TRUE(dir.mkpath(QFileInfo(path).path()));
            QFile file(dir.filePath(path));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(
            RunTimeFile(dir.filePath(QStringLiteral("bin")), QStringLiteral("FensterZM0.bmp")),
            dir.filePath(c.found));
    }
}

} // namespace
