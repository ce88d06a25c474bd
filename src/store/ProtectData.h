// Decryption (and, for the billing-system side of pendlar-tool, encryption) of the
// billing record: Blowfish in 64-bit cipher feedback mode with the initialisation vector
// "wqzkrtbn". The key is the 40-letter constant shared with the billing system, read from
// iji.key in the data folder.
#pragma once

#include <optional>
#include <string>

namespace pendlar {

class TProtectData {
public:
    // Reads the key from iji.key in the data folder (first line, surrounding blanks trimmed).
    TProtectData();
    // A given key (tests, tools); nullopt means no key.
    explicit TProtectData(std::optional<std::string> key);

    bool HasKey() const { return key_.has_value(); }

    // Plain bytes of the same length. Without a key the result is all zero bytes, so every
    // record fails its signature check instead of passing undecrypted data on.
    std::string Decrypt(const std::string& cipher) const;
    std::string Encrypt(const std::string& plain) const;

    // The key of the data folder's iji.key, or nullopt when the file is missing or empty.
    static std::optional<std::string> ReadKeyFile();

private:
    std::string Run(const std::string& in, bool decrypt) const;

    // The key is the prefix (empty: nothing sets it) followed by the shared constant.
    std::string prefix_;
    std::optional<std::string> key_;
};

} // namespace pendlar
