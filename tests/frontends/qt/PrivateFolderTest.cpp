#include "PrivateFolder.h"
#include "QtInstances.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace twk::qt {
namespace {

mode_t modeOf(const QString& path)
{
    struct stat status {};
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status.st_mode;
}

TEST(PrivateFolder, IsMadePrivateOrNarrowedAndRefusedWhenSomeoneElseCouldReachIt)
{
    QTemporaryDir temp;
    const QString made = temp.path() + QStringLiteral("/new");
    ASSERT_TRUE(privateFolder(made).usable());
    EXPECT_EQ(modeOf(made) & 0777, 0700u);

    const QString wide = temp.path() + QStringLiteral("/wide");
    ASSERT_EQ(::mkdir(QFile::encodeName(wide).constData(), 0777), 0);
    ::chmod(QFile::encodeName(wide).constData(), 0777);
    EXPECT_TRUE(privateFolder(wide).usable());
    EXPECT_EQ(modeOf(wide) & 0777, 0700u) << "our own folder, open to others, is closed";

    // A planted link is refused, and not followed: its target keeps its mode.
    const QString target = temp.path() + QStringLiteral("/target");
    ASSERT_EQ(::mkdir(QFile::encodeName(target).constData(), 0755), 0);
    const QString link = temp.path() + QStringLiteral("/link");
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_FALSE(privateFolder(link).usable());
    EXPECT_EQ(modeOf(target) & 0777, 0755u);

    const QString file = temp.path() + QStringLiteral("/file");
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_FALSE(privateFolder(file).usable());
    EXPECT_FALSE(privateFolder(temp.path() + QStringLiteral("/no/such/parent")).usable());

    if (::getuid() == 0) {
        const QString foreign = temp.path() + QStringLiteral("/foreign");
        ASSERT_EQ(::mkdir(QFile::encodeName(foreign).constData(), 0700), 0);
        ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
        EXPECT_FALSE(privateFolder(foreign).usable()) << "another user's folder";
    }
}

TEST(PrivateFolder, ARefusedFolderNeverKeepsTheProgramOutNorGetsItsFiles)
{
    QTemporaryDir temp;
    const QString target = temp.path() + QStringLiteral("/planted");
    ASSERT_TRUE(QDir().mkpath(target));
    const QString link = temp.path() + QStringLiteral("/twk3-link");
    ASSERT_TRUE(QFile::link(target, link));

    QtInstances first(QStringLiteral("/opt/twk3"), QStringLiteral("ThunderRT6Main"), QStringLiteral("Tarnwick 3.0"),
                      privateFolder(link));
    EXPECT_FALSE(first.anotherInstanceRunning());
    QtInstances second(QStringLiteral("/opt/twk3"), QStringLiteral("ThunderRT6Main"), QStringLiteral("Tarnwick 3.0"),
                       privateFolder(link));
    EXPECT_FALSE(second.anotherInstanceRunning()) << "refused at once, not after a wait";
    second.setApplicationTitle("Tarnwick 3.0");
    EXPECT_TRUE(QDir(target).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).isEmpty())
        << "no lock or socket through the link";
}

} // namespace
} // namespace twk::qt
