// The security policy of the run: choosing it (the policy menu and the first write that
// needs it) and applying it to a chart file after the chart was written or extended.
//
// A policy is chosen once in the policy window and held until the program ends. Preparing
// opens the policy file named by PolicyHelpFile first: it must still be a readable PDF,
// so that an administrator who removes the file also stops the policy. Applying encrypts
// the chart with AES-256 and rewrites it in place.
#pragma once

#include "store/AcroPDDoc.h"
#include "store/SecurityPolicy.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pendlar {

class TRegistory;
class UserInterface;
struct TLogs;

class SecurityPolicyFlows {
public:
    SecurityPolicyFlows(TRegistory& settings, TLogs& logs, UserInterface& ui,
                        SecurityPolicyChooser& chooser);

    // The policy-ready flag and the held policy.
    SecurityPolicyState State;

    // The document objects: the chart being protected and the policy file. Tests may put
    // a failing layer in their place.
    std::unique_ptr<CAcroPDDoc> AcroPDDoc1 = std::make_unique<CAcroPDDoc>();
    std::unique_ptr<CAcroPDDoc> AcroPDDoc3 = std::make_unique<CAcroPDDoc>();

    // Minimizes (true) and restores (false) the main window around the policy window.
    std::function<void(bool minimized)> MinimizeMainWindow;

    // Opens the policy file and, while no policy is held, asks for one. Returns the status
    // text of the outcome and sets the policy-ready flag. When the document layer cannot
    // work, the message is shown and the previous text is returned unchanged.
    std::string PrepareSecurityPolicy(const std::string& sjisPolicyFile);

    // After a chart was written: with PolicyUse on, protects the file with the held
    // policy, preparing it first (from PolicyHelpFile) when none is ready. False when the
    // policy file is missing, or the file could not be protected; the caller goes on.
    bool ApplySecurityPolicy(const std::string& sjisPath);

    // The menu "ポリシーの設定": choose the policy file, then prepare the policy.
    void PolicySetMenuClick();

    // The passwords a chart protected in this run opens with: the held policy's owner
    // password, or none (FilingContext::ChartPasswords).
    std::vector<std::string> ChartPasswords() const;

private:
    bool Apply(const std::string& sjisPath);
    std::string PrepareAround(const std::string& sjisPolicyFile);

    TRegistory& settings_;
    TLogs& logs_;
    UserInterface& ui_;
    SecurityPolicyChooser& chooser_;
    std::string text_;
};

} // namespace pendlar
