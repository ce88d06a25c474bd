// A security policy for chart files: the passwords and permissions a PDF is encrypted with
// (AES-256), chosen once per run in the policy window and kept until the program ends.
#pragma once

#include <optional>
#include <string>

namespace pendlar {

struct SecurityPolicy {
    // UTF-8, as AES-256 encryption takes them. The user password may be empty (the file
    // then opens without one); the owner password is required and unlocks everything.
    std::string UserPassword;
    std::string OwnerPassword;
    bool AllowPrinting = true;
    bool AllowCopying = true;    // copying text and images out of the file
    bool AllowChanging = true;   // editing, inserting and removing pages
    bool AllowAnnotating = true; // adding comments and filling forms

    // Written out: the qpdf layer's source is compiled as C++17 by clang (see CMakeLists).
    friend bool operator==(const SecurityPolicy& a, const SecurityPolicy& b) {
        return a.UserPassword == b.UserPassword && a.OwnerPassword == b.OwnerPassword &&
               a.AllowPrinting == b.AllowPrinting && a.AllowCopying == b.AllowCopying &&
               a.AllowChanging == b.AllowChanging && a.AllowAnnotating == b.AllowAnnotating;
    }
};

// The policy state of the running program, owned by the main window: the policy-ready flag
// (false at start) and the chosen policy (none at start). Once chosen, a policy is never
// replaced within the run.
struct SecurityPolicyState {
    bool PolicyReady = false;
    std::optional<SecurityPolicy> Policy;
};

// Asks the person for a policy: the policy window "セキュリティポリシーの選択". nullopt when
// the person cancels (the null policy).
class SecurityPolicyChooser {
public:
    virtual ~SecurityPolicyChooser() = default;
    virtual std::optional<SecurityPolicy> ChooseSecurityPolicy() = 0;
};

} // namespace pendlar
