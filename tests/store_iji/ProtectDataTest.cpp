#include "store/Blowfish.h"
#include "store/IjiRecord.h"
#include "store/ProtectData.h"
#include "util/Profile.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/provider.h>

#include <cstring>
#include <random>

namespace pendlar {
namespace {

std::string Hex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

TEST(Blowfish, PublishedVectors) {
    struct Case {
        const char *key, *plain, *cipher;
    } cases[] = {
        {"0000000000000000", "0000000000000000", "4ef997456198dd78"},
        {"ffffffffffffffff", "ffffffffffffffff", "51866fd5b85ecb8a"},
        {"3000000000000000", "1000000000000001", "7d856f9a613063f2"},
        {"1111111111111111", "1111111111111111", "2466dd878b963c9d"},
        {"0123456789abcdef", "1111111111111111", "61f9c3802281b096"},
        {"fedcba9876543210", "0123456789abcdef", "0aceab0fc6a0a28d"},
    };
    for (const auto& c : cases) {
        TBlowfish bf(Hex(c.key));
        std::string block = Hex(c.plain);
        std::uint8_t bytes[8];
        std::memcpy(bytes, block.data(), 8);
        bf.EncryptBytes(bytes);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 8), Hex(c.cipher)) << c.key;
        std::uint32_t l = (std::uint32_t{bytes[0]} << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3];
        std::uint32_t r = (std::uint32_t{bytes[4]} << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7];
        bf.DecryptBlock(l, r);
        EXPECT_EQ(l, (std::uint32_t{static_cast<std::uint8_t>(block[0])} << 24) |
                         (static_cast<std::uint8_t>(block[1]) << 16) |
                         (static_cast<std::uint8_t>(block[2]) << 8) | static_cast<std::uint8_t>(block[3]));
    }
}

// OpenSSL's Blowfish in CFB-64, as an independent oracle.
std::string OpenSslCfb(const std::string& key, const std::string& data, bool encrypt) {
    static OSSL_PROVIDER* legacy = OSSL_PROVIDER_load(nullptr, "legacy");
    static OSSL_PROVIDER* deflt = OSSL_PROVIDER_load(nullptr, "default");
    (void)legacy;
    (void)deflt;
    EVP_CIPHER* cipher = EVP_CIPHER_fetch(nullptr, "BF-CFB", nullptr);
    if (!cipher)
        return "";
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    EVP_CipherInit_ex(ctx, cipher, nullptr, nullptr, nullptr, encrypt ? 1 : 0);
    EVP_CIPHER_CTX_set_key_length(ctx, static_cast<int>(key.size()));
    EVP_CipherInit_ex(ctx, nullptr, nullptr, reinterpret_cast<const unsigned char*>(key.data()),
                      reinterpret_cast<const unsigned char*>("wqzkrtbn"), encrypt ? 1 : 0);
    std::string out(data.size() + 16, '\0');
    int n = 0, m = 0;
    EVP_CipherUpdate(ctx, reinterpret_cast<unsigned char*>(out.data()), &n,
                     reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
    EVP_CipherFinal_ex(ctx, reinterpret_cast<unsigned char*>(out.data()) + n, &m);
    EVP_CIPHER_CTX_free(ctx);
    EVP_CIPHER_free(cipher);
    out.resize(static_cast<std::size_t>(n + m));
    return out;
}

TEST(ProtectData, AgreesWithOpenSslCfb64) {
    const std::string key = "QwErTyUiOpAsDfGhJkLzXcVbNmQwErTyUiOpAsDf"; // 40 letters
    std::mt19937 rng(7);
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{8},
                             std::size_t{13}, kIjiRecordSize}) {
        std::string plain(size, '\0');
        for (auto& c : plain)
            c = static_cast<char>(rng());
        TProtectData protect(key);
        std::string cipher = protect.Encrypt(plain);
        std::string oracle = OpenSslCfb(key, plain, true);
        if (oracle.empty() && size > 0)
            GTEST_SKIP() << "OpenSSL has no Blowfish here";
        EXPECT_EQ(cipher, oracle) << size;
        EXPECT_EQ(protect.Decrypt(cipher), plain) << size;
        EXPECT_EQ(OpenSslCfb(key, cipher, false), plain) << size;
    }
}

TEST(ProtectData, KeyFileAndMissingKey) {
    test::TempDir dir;
    SetProfileDir(dir.Path().string());
    EXPECT_FALSE(TProtectData().HasKey());
    EXPECT_EQ(TProtectData().Decrypt("abc"), std::string(3, '\0')); // fails every signature
    test::WriteFile(dir.Path() / "iji.key", "  AbcdefghijAbcdefghijAbcdefghijAbcdefghij \r\n");
    TProtectData fromFile;
    EXPECT_TRUE(fromFile.HasKey());
    TProtectData given(std::string("AbcdefghijAbcdefghijAbcdefghijAbcdefghij"));
    EXPECT_EQ(fromFile.Encrypt("PDFCARUTE"), given.Encrypt("PDFCARUTE"));
    SetProfileDir("");
}

TEST(IjiRecord, LayoutCoversTheRecordExactly) {
    std::vector<int> owner(kIjiRecordSize, -1);
    int index = 0;
    for (const auto& f : IjiLayout()) {
        for (std::size_t i = f.Offset; i < f.Offset + f.Length; ++i) {
            ASSERT_LT(i, kIjiRecordSize) << f.Name;
            EXPECT_EQ(owner[i], -1) << f.Name << " overlaps at " << i;
            owner[i] = index;
        }
        ++index;
    }
    for (std::size_t i = 0; i < kIjiRecordSize; ++i)
        EXPECT_NE(owner[i], -1) << "byte " << i << " belongs to no field";
    EXPECT_EQ(FindIjiField("Gtenki14")->Offset, 3126u + 87 * 13 + 83);
    EXPECT_EQ(FindIjiField("Ftsuki6_12")->Offset, 5919u);
    EXPECT_EQ(FindIjiField("NtenkiTo")->Offset, 4496u);
}

TEST(IjiRecord, FieldsRoundTripAndRefuseWhatDoesNotFit) {
    std::string plain = EmptyIjiRecord();
    EXPECT_EQ(std::get<std::string>(*ReadIjiField(plain, *FindIjiField("Signature"))), "PDFCARUTE");
    EXPECT_EQ(std::get<std::int32_t>(*ReadIjiField(plain, *FindIjiField("DataVersion"))), 15);
    EXPECT_EQ(std::get<std::int32_t>(*ReadIjiField(plain, *FindIjiField("Psex"))), -1);

    const IjiField& name = *FindIjiField("PName");
    EXPECT_TRUE(WriteIjiField(plain, name, std::string(40, 'x')));
    EXPECT_FALSE(WriteIjiField(plain, name, std::string(41, 'x')));
    EXPECT_FALSE(WriteIjiField(plain, name, std::int32_t{3}));
    EXPECT_EQ(std::get<std::string>(*ReadIjiField(plain, name)), std::string(40, 'x'));
    EXPECT_TRUE(WriteIjiField(plain, *FindIjiField("CreateDate"), 45415.5));
    EXPECT_EQ(std::get<double>(*ReadIjiField(plain, *FindIjiField("CreateDate"))), 45415.5);
    EXPECT_TRUE(WriteIjiField(plain, *FindIjiField("Ftsuki3_4"), true));
    EXPECT_TRUE(std::get<bool>(*ReadIjiField(plain, *FindIjiField("Ftsuki3_4"))));

    plain[name.Offset] = 41; // a length byte beyond the capacity is no text
    EXPECT_FALSE(ReadIjiField(plain, name));
    EXPECT_FALSE(ReadIjiField(plain.substr(0, 100), name.Offset < 100 ? *FindIjiField("bikou") : name));
}

} // namespace
} // namespace pendlar
