#include "store/SecurityPolicyFlows.h"

#include "FilingDesk.h"
#include "SmallPdf.h"

#include "util/FileSystem.h"
#include "util/Profile.h"
#include "util/Sjis.h"

#include <gtest/gtest.h>

namespace pendlar {
namespace {

using test::FilingDesk;
using test::PageLabels;

// The person at the policy window: answers from a list (nullopt: Cancel), counted.
class ScriptedChooser : public SecurityPolicyChooser {
public:
    std::vector<std::optional<SecurityPolicy>> Answers;
    int Asked = 0;
    std::optional<SecurityPolicy> ChooseSecurityPolicy() override {
        return Asked < static_cast<int>(Answers.size()) ? Answers[static_cast<std::size_t>(Asked++)]
                                                        : (++Asked, std::nullopt);
    }
};

class ThrowingDoc : public CAcroPDDoc {
public:
    bool Open(const std::string&, const std::vector<std::string>&) override {
        throw EAcrobatError("no layer");
    }
};

class PolicyTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::HaveProgram("qpdf") || !test::HaveProgram("pdftotext") ||
            !test::HaveProgram("python3"))
            GTEST_SKIP() << "qpdf, pdftotext or python3 missing";
        SetProfileDir(desk_.Dir.Path().string());
        policyFile_ = desk_.Dir.Path() / "Policy.pdf";
        test::WriteSmallPdf(policyFile_, "P", 1);
        desk_.Settings.PolicyUse = true;
        desk_.Settings.PolicyHelpFile = Sjis(policyFile_);
        desk_.Settings.FolderClear = false;
        desk_.Settings.FirstPage = true;
        desk_.Settings.PdfInsType = 1;
        flows_.MinimizeMainWindow = [this](bool m) { minimized_.push_back(m); };
        desk_.Context.ApplySecurityPolicy = [this](const std::string& p) {
            return flows_.ApplySecurityPolicy(p);
        };
        desk_.Context.ChartPasswords = [this] { return flows_.ChartPasswords(); };
    }
    void TearDown() override { SetProfileDir(""); }

    static std::string Sjis(const std::filesystem::path& p) {
        return FileNameToSjisPath(p.string());
    }
    std::string Prepare() { return SjisToUtf8(flows_.PrepareSecurityPolicy(Sjis(policyFile_))); }

    FilingDesk desk_;
    ScriptedChooser chooser_;
    SecurityPolicyFlows flows_{desk_.Settings, desk_.Logs, desk_.Ui, chooser_};
    std::filesystem::path policyFile_;
    std::vector<bool> minimized_;
};

TEST_F(PolicyTest, AddedChartIsEncryptedWithTheChosenPolicy) {
    struct Case {
        SecurityPolicy Policy;
        std::vector<std::string> Shown;
    } cases[] = {
        {{"user", "owner", false, true, true, false},
         {"R = 6", "print high resolution: not allowed", "extract for any purpose: allowed",
          "modify other: allowed", "modify annotations: not allowed"}},
        {{"", "owner", true, false, false, true},
         {"R = 6", "print high resolution: allowed", "extract for any purpose: not allowed",
          "modify other: not allowed", "modify annotations: allowed"}},
    };
    int sub = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("user password '" + c.Policy.UserPassword + "'");
        FilingDesk& d = desk_;
        flows_.State = {};
        chooser_.Asked = 0;
        chooser_.Answers = {c.Policy};
        const std::string chart = d.PutChart(1234567, sub);
        test::WriteSmallPdf(FsPath(chart), "B", 2);
        d.Confirm("1234567");
        d.Select(std::to_string(sub++));
        ASSERT_EQ(d.State.Mode, ChartFilingMode::Add);
        if (d.Intake.Pages().empty())
            d.ScanPages(1);
        d.Save();
        d.Save(); // the second add opens the protected chart with the held policy
        EXPECT_EQ(SjisToUtf8(d.Ui.Status[1]), "保存しました。");
        EXPECT_EQ(chooser_.Asked, 1);
        const std::filesystem::path file = FsPath(chart);
        const std::string owner = "--password=" + c.Policy.OwnerPassword;
        std::string shown;
        test::RunCommand("qpdf --show-encryption " + owner + " '" + file.string() + "'", &shown);
        for (const std::string& line : c.Shown)
            EXPECT_NE(shown.find(line), std::string::npos) << line << "\n" << shown;
        EXPECT_TRUE(test::QpdfChecks(file, owner));
        const std::vector<std::string> pages = {"B1", "B2", "", ""};
        if (c.Policy.UserPassword.empty()) {
            EXPECT_EQ(PageLabels(file), pages);
        } else {
            EXPECT_TRUE(PageLabels(file).empty());
            EXPECT_EQ(PageLabels(file, "-upw user"), pages);
        }
    }
}

TEST_F(PolicyTest, PreparingReportsEachOutcomeAndNeverReplacesAHeldPolicy) {
    const SecurityPolicy chosen{"", "owner", true, true, true, true};
    chooser_.Answers = {std::nullopt, chosen, SecurityPolicy{"x", "y", true, true, true, true}};
    EXPECT_EQ(Prepare(), "ポリシーの準備がキャンセルされました。");
    EXPECT_FALSE(flows_.State.PolicyReady);
    EXPECT_EQ(Prepare(), "ポリシーの準備ができました。");
    EXPECT_TRUE(flows_.State.PolicyReady);
    EXPECT_EQ(Prepare(), "ポリシーは用意されています。");
    EXPECT_EQ(chooser_.Asked, 2);
    EXPECT_EQ(flows_.State.Policy, chosen);

    test::WriteFile(policyFile_, "not a pdf");
    EXPECT_EQ(Prepare(), "ポリシーの準備に失敗しました。(使用したファイルを確認してください。)");
    EXPECT_FALSE(flows_.State.PolicyReady);
    EXPECT_EQ(flows_.State.Policy, chosen);

    // A policy file whose own security is locked cannot carry a policy.
    test::WriteSmallPdf(policyFile_, "P", 1);
    {
        CAcroPDDoc doc;
        ASSERT_TRUE(doc.Open(Sjis(policyFile_)));
        doc.EncryptUsingPolicy({"", "locked", true, true, true, true});
        ASSERT_TRUE(doc.Save(33, Sjis(policyFile_)));
    }
    EXPECT_EQ(Prepare(), "ポリシー設定は不可能です。");
    EXPECT_FALSE(flows_.State.PolicyReady);

    // Without a usable layer the message is shown and the text stays as it was.
    flows_.AcroPDDoc3 = std::make_unique<ThrowingDoc>();
    EXPECT_EQ(Prepare(), "ポリシー設定は不可能です。");
    ASSERT_FALSE(desk_.Ui.Messages.empty());
    EXPECT_EQ(SjisToUtf8(desk_.Ui.Messages.back().Text),
              "Acrobatがインストールされていません。\n処理を停止します。");
    EXPECT_EQ(desk_.Ui.Messages.back().Buttons, MsgButtons::Yes);
    EXPECT_EQ(desk_.Logs.Error.Lines().back(), "*** Acrobat Install Error");
}

TEST_F(PolicyTest, ApplyWithoutPolicyFileSavesUnprotectedAndSaysSo) {
    const std::filesystem::path chart = desk_.Dir.Path() / "chart.pdf";
    test::WriteSmallPdf(chart, "B", 2);
    const std::string before = test::ReadFile(chart);
    desk_.Settings.PolicyHelpFile = Sjis(desk_.Dir.Path() / "gone.pdf");
    EXPECT_FALSE(flows_.ApplySecurityPolicy(Sjis(chart)));
    EXPECT_EQ(SjisToUtf8(desk_.Ui.Messages.back().Text),
              "ポリシー設定に失敗しました。\nPolicy file?");
    EXPECT_EQ(desk_.Logs.Error.Lines().back(), "** Write Policy File can not find Error");
    EXPECT_EQ(SjisToUtf8(desk_.Ui.Status[1]), "ポリシーファイルが見つかりません。");
    EXPECT_EQ(test::ReadFile(chart), before);

    // A cancelled choice leaves the file as it is; the next write asks again.
    desk_.Settings.PolicyHelpFile = Sjis(policyFile_);
    chooser_.Answers = {std::nullopt, SecurityPolicy{"", "o", true, true, true, true}};
    EXPECT_TRUE(flows_.ApplySecurityPolicy(Sjis(chart)));
    EXPECT_EQ(test::ReadFile(chart), before);
    EXPECT_EQ(SjisToUtf8(desk_.Ui.Status[1]), "ポリシーの準備がキャンセルされました。");
    EXPECT_TRUE(flows_.ApplySecurityPolicy(Sjis(chart)));
    EXPECT_EQ(chooser_.Asked, 2);
    EXPECT_NE(test::ReadFile(chart), before);
    EXPECT_EQ(minimized_, (std::vector<bool>{true, false, true, false}));

    desk_.Settings.PolicyUse = false;
    const std::string protectedBytes = test::ReadFile(chart);
    EXPECT_TRUE(flows_.ApplySecurityPolicy(Sjis(chart)));
    EXPECT_EQ(test::ReadFile(chart), protectedBytes);
}

TEST_F(PolicyTest, MenuChoosesTheFileAndPrepares) {
    chooser_.Answers = {SecurityPolicy{"", "o", true, true, true, true}};
    desk_.Settings.PolicyHelpFile = Sjis(desk_.Dir.Path() / "old" / "Policy.pdf");
    desk_.Ui.FileAnswers = {std::nullopt, Sjis(policyFile_)};
    flows_.PolicySetMenuClick(); // cancelled: nothing changes
    EXPECT_EQ(chooser_.Asked, 0);
    flows_.PolicySetMenuClick();
    ASSERT_EQ(desk_.Ui.FileDialogs.size(), 2u);
    EXPECT_EQ(SjisToUtf8(desk_.Ui.FileDialogs[1].Title), "ポリシーを開く");
    EXPECT_EQ(desk_.Ui.FileDialogs[1].Filter, "PDF|*.pdf");
    EXPECT_EQ(desk_.Ui.FileDialogs[0].InitialDir, Sjis(desk_.Dir.Path() / "old") + "/");
    EXPECT_EQ(desk_.Settings.PolicyHelpFile, Sjis(policyFile_));
    EXPECT_EQ(SjisToUtf8(desk_.Ui.Status[1]), "ポリシーの準備ができました。");
    EXPECT_EQ(minimized_, (std::vector<bool>{true, false}));
}

} // namespace
} // namespace pendlar
