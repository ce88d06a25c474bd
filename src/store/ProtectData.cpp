#include "store/ProtectData.h"

#include "store/Blowfish.h"
#include "util/FileSystem.h"
#include "util/Profile.h"

#include <cstdint>

namespace pendlar {
namespace {

const char kVector[8] = {'w', 'q', 'z', 'k', 'r', 't', 'b', 'n'};

std::string Trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return "";
    std::size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

} // namespace

TProtectData::TProtectData() : key_(ReadKeyFile()) {}

TProtectData::TProtectData(std::optional<std::string> key) : key_(std::move(key)) {
    if (key_ && key_->empty())
        key_.reset();
}

std::optional<std::string> TProtectData::ReadKeyFile() {
    std::optional<std::vector<std::string>> lines = ReadLines(DataFolder() + "/iji.key");
    if (!lines || lines->empty())
        return std::nullopt;
    std::string key = Trim(lines->front());
    if (key.empty())
        return std::nullopt;
    return key;
}

std::string TProtectData::Decrypt(const std::string& cipher) const { return Run(cipher, true); }

std::string TProtectData::Encrypt(const std::string& plain) const { return Run(plain, false); }

std::string TProtectData::Run(const std::string& in, bool decrypt) const {
    if (!key_)
        return std::string(in.size(), '\0');
    TBlowfish cipher(prefix_ + *key_);
    std::uint8_t reg[8];
    for (int i = 0; i < 8; ++i)
        reg[i] = static_cast<std::uint8_t>(kVector[i]);
    std::string out(in.size(), '\0');
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (i % 8 == 0)
            cipher.EncryptBytes(reg);
        std::uint8_t c = static_cast<std::uint8_t>(in[i]);
        std::uint8_t o = c ^ reg[i % 8];
        out[i] = static_cast<char>(o);
        // The register takes the cipher byte: the input when decrypting, the output otherwise.
        reg[i % 8] = decrypt ? c : o;
    }
    return out;
}

} // namespace pendlar
