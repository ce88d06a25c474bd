#include "store/SecurityPolicyFlows.h"

#include "logs/Logs.h"
#include "settings/Registory.h"
#include "store/ChartDatabase.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"
#include "util/UserInterface.h"

namespace pendlar {

namespace {

void ShowLayerMissing(UserInterface& ui, TLogs& logs) {
    ui.Message(SjisOf("Acrobatがインストールされていません。\n処理を停止します。"), "",
               MsgIcon::Error, MsgButtons::Yes);
    logs.AddErrorLog("*** Acrobat Install Error");
}

} // namespace

SecurityPolicyFlows::SecurityPolicyFlows(TRegistory& settings, TLogs& logs, UserInterface& ui,
                                         SecurityPolicyChooser& chooser)
    : settings_(settings), logs_(logs), ui_(ui), chooser_(chooser) {}

std::string SecurityPolicyFlows::PrepareSecurityPolicy(const std::string& sjisPolicyFile) {
    CAcroPDDoc& doc = *AcroPDDoc3;
    bool opened;
    try {
        opened = doc.Open(sjisPolicyFile);
    } catch (const EAcrobatError&) {
        ShowLayerMissing(ui_, logs_);
        return text_;
    }
    if (!opened) {
        State.PolicyReady = false;
        text_ = SjisOf("ポリシーの準備に失敗しました。(使用したファイルを確認してください。)");
    } else if (!doc.CanChangeSecurity()) {
        State.PolicyReady = false;
        text_ = SjisOf("ポリシー設定は不可能です。");
    } else if (!State.Policy) {
        std::optional<SecurityPolicy> chosen = chooser_.ChooseSecurityPolicy();
        if (!chosen) {
            State.PolicyReady = false;
            text_ = SjisOf("ポリシーの準備がキャンセルされました。");
        } else {
            State.Policy = std::move(chosen);
            State.PolicyReady = true;
            text_ = SjisOf("ポリシーの準備ができました。");
        }
    } else {
        State.PolicyReady = true;
        text_ = SjisOf("ポリシーは用意されています。");
    }
    doc.Close();
    return text_;
}

std::string SecurityPolicyFlows::PrepareAround(const std::string& sjisPolicyFile) {
    if (MinimizeMainWindow)
        MinimizeMainWindow(true);
    std::string text = PrepareSecurityPolicy(sjisPolicyFile);
    ui_.SetStatus(1, text);
    if (MinimizeMainWindow)
        MinimizeMainWindow(false);
    return text;
}

bool SecurityPolicyFlows::ApplySecurityPolicy(const std::string& sjisPath) {
    if (!settings_.PolicyUse)
        return true;
    if (State.PolicyReady)
        return Apply(sjisPath);
    if (FileExists(settings_.PolicyHelpFile)) {
        PrepareAround(settings_.PolicyHelpFile);
        return State.PolicyReady ? Apply(sjisPath) : true;
    }
    ui_.Message(SjisOf("ポリシー設定に失敗しました。\nPolicy file?"), "", MsgIcon::Error,
                MsgButtons::Ok);
    logs_.AddErrorLog("** Write Policy File can not find Error");
    ui_.SetStatus(1, SjisOf("ポリシーファイルが見つかりません。"));
    return false;
}

bool SecurityPolicyFlows::Apply(const std::string& sjisPath) {
    if (!State.Policy)
        return false;
    CAcroPDDoc& doc = *AcroPDDoc1;
    bool opened;
    try {
        // A chart protected before (an extended one) opens with the policy's owner password.
        opened = doc.Open(sjisPath, {State.Policy->OwnerPassword});
    } catch (const EAcrobatError&) {
        ShowLayerMissing(ui_, logs_);
        return false;
    }
    if (!opened) {
        ui_.SetStatus(1, "Policy Set Open Error");
        logs_.AddErrorLog("** Acrobat Policy Set Error");
        return false;
    }
    if (!doc.EncryptUsingPolicy(*State.Policy)) {
        doc.Close();
        ui_.SetStatus(1, "Policy Set Error");
        return false;
    }
    // A failed save leaves the chart as it was, unprotected: that is said, not hidden.
    bool saved = doc.Save(CAcroPDDoc::PDSaveFull | CAcroPDDoc::PDSaveCollectGarbage, sjisPath);
    doc.Close();
    if (!saved) {
        ui_.SetStatus(1, "Policy Set Error");
        logs_.AddErrorLog("** Acrobat Policy Set Error");
    }
    return saved;
}

std::vector<std::string> SecurityPolicyFlows::ChartPasswords() const {
    if (!State.Policy)
        return {};
    return {State.Policy->OwnerPassword};
}

void SecurityPolicyFlows::PolicySetMenuClick() {
    ui_.SetStatus(1, "");
    FileDialogSpec spec;
    spec.Title = SjisOf("ポリシーを開く");
    spec.Filter = "PDF|*.pdf";
    spec.DefaultExt = ".pdf";
    spec.InitialDir = FolderOf(settings_.PolicyHelpFile);
    std::optional<std::string> chosen = ui_.ChooseOpenFile(spec);
    if (!chosen)
        return;
    settings_.PolicyHelpFile = *chosen;
    PrepareAround(settings_.PolicyHelpFile);
}

} // namespace pendlar
