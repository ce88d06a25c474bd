#include "logs/Logs.h"
#include "util/Sjis.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pendlar {
namespace {

TEST(SaveLog, AppendsWithCrLfAndClears) {
    test::TempDir dir;
    const std::string file = dir.Sjis("ログ.txt");
    TSaveLog log;
    EXPECT_FALSE(log.HasUnsavedLines());
    log.Add("7,/c/a.pdf");
    log.Add(SjisOf("/c/b.pdf を消去しました。"));
    EXPECT_TRUE(log.HasUnsavedLines());
    ASSERT_TRUE(log.AppendToFile(file));
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_FALSE(log.HasUnsavedLines());

    // A second batch goes after the first; the file is never truncated.
    log.Add("7,/c/c.pdf");
    ASSERT_TRUE(log.AppendToFile(file));
    EXPECT_EQ(test::ReadFile(dir.Path() / "ログ.txt"),
              "7,/c/a.pdf\r\n" + SjisOf("/c/b.pdf を消去しました。") + "\r\n7,/c/c.pdf\r\n");
}

TEST(SaveLog, EmptyLogCreatesEmptyFile) {
    test::TempDir dir;
    TSaveLog log;
    ASSERT_TRUE(log.AppendToFile(dir.Sjis("new.txt")));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "new.txt"));
    EXPECT_EQ(test::ReadFile(dir.Path() / "new.txt"), "");
    EXPECT_FALSE(log.HasUnsavedLines());
}

TEST(SaveLog, FailedAppendKeepsLinesAndFlag) {
    test::TempDir dir;
    TSaveLog log;
    log.Add("7,/c/a.pdf");
    EXPECT_FALSE(log.AppendToFile(dir.Sjis("no/such/folder/log.txt")));
    EXPECT_EQ(log.Lines().size(), 1u);
    EXPECT_TRUE(log.HasUnsavedLines());
    EXPECT_EQ(SjisToUtf8(SaveLogAppendError()), "*** ファイル追加エラーが発生しました。");
}

TEST(SaveLog, AppendThatFailsHalfwayLeavesTheFileAsItWas) {
    // A disk that fills up during the append, made by a file-size limit in a child process.
    test::TempDir dir;
    const std::string earlier = "7,/c/a.pdf\r\n";
    test::WriteFile(dir.Path() / "log.txt", earlier);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{static_cast<rlim_t>(earlier.size() + 20), RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
        TSaveLog log;
        log.Add(std::string(30, 'x'));
        log.Add(std::string(30, 'y'));
        const bool appended = log.AppendToFile(dir.Sjis("log.txt"));
        _exit(!appended && log.Lines().size() == 2 && log.HasUnsavedLines() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the append did not fail, or lost the lines";
    EXPECT_EQ(test::ReadFile(dir.Path() / "log.txt"), earlier);
}

TEST(ErrorLog, WriteReplacesFileAndKeepsLines) {
    test::TempDir dir;
    test::WriteFile(dir.Path() / "err.txt", "old content that is longer\r\n");
    TLogs logs;
    logs.AddErrorLog("*** DataBase Connect Error");
    logs.AddErrorLog("* DataBase Setting is Cancel");
    ASSERT_TRUE(logs.Error.WriteToFile(dir.Sjis("err.txt")));
    EXPECT_EQ(test::ReadFile(dir.Path() / "err.txt"),
              "*** DataBase Connect Error\r\n* DataBase Setting is Cancel\r\n");
    EXPECT_EQ(logs.Error.Lines().size(), 2u);
    EXPECT_FALSE(logs.Save.HasUnsavedLines()); // error lines never mark the save log
}

} // namespace
} // namespace pendlar
