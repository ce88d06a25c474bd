// Helpers for the PDF writer tests: the expected file frame built from object bodies, exact
// exception checks, and saving a document to a string.
#pragma once

#include "pdf/PdfDoc.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <typeinfo>
#include <vector>

namespace pendlar::test {

// 17 November 2006, 14:25:06 UTC: every test document is dated by it.
inline constexpr const char* kEpoch = "1163773506";
inline constexpr const char* kDate = "D:20061117142506";

// Sets SOURCE_DATE_EPOCH for the tests of a suite.
class FixedClock : public ::testing::Test {
protected:
    void SetUp() override { setenv("SOURCE_DATE_EPOCH", kEpoch, 1); }
    void TearDown() override { unsetenv("SOURCE_DATE_EPOCH"); }
};

// The whole file for objects 1..n with the given bodies (what stands between "obj" CR LF
// and CR LF "endobj") and the trailer dictionary, assembled by the file-layout rules.
inline std::string ExpectedFile(const std::vector<std::string>& bodies,
                                const std::string& trailer) {
    std::string file = "%PDF-1.2 \r\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        offsets.push_back(file.size());
        file += std::to_string(i + 1) + " 0 obj\r\n" + bodies[i] + "\r\nendobj\r\n";
    }
    std::size_t xref = file.size();
    file += "xref\r\n0 " + std::to_string(bodies.size() + 1) + "\r\n";
    file += "0000000000 65535 f\r\n";
    for (std::size_t offset : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n\r\n", offset);
        file += line;
    }
    file += "trailer\r\n" + trailer + "\r\nstartxref\r\n" + std::to_string(xref) + "\r\n%%EOF\r\n";
    return file;
}

inline std::string SaveToString(TPdfDoc& doc) {
    PdfStringOutStream out;
    doc.SaveToStream(out);
    return out.TakeData();
}

inline std::string WriteObject(const TPdfObject& object) {
    PdfStringOutStream out;
    object.Write(out);
    return out.TakeData();
}

// The value of a registered object as its numbered block holds it.
inline std::string BodyOf(const TPdfObject& object) {
    PdfStringOutStream out;
    object.WriteIndirect(out);
    std::string block = out.TakeData();
    std::size_t start = block.find("obj\r\n") + 5;
    return block.substr(start, block.size() - start - 10);
}

// Runs `f` and checks that it throws exactly E (not a subclass, not a base) with `message`.
template <class E, class F> void ExpectFailure(F&& f, const std::string& message) {
    try {
        f();
        ADD_FAILURE() << "no exception; expected \"" << message << "\"";
    } catch (const std::exception& e) {
        EXPECT_TRUE(typeid(e) == typeid(E))
            << "exception class " << typeid(e).name() << " for \"" << e.what() << "\"";
        EXPECT_EQ(e.what(), message);
    }
}

// qpdf, an independent reader, finds no syntax or stream error in the file (skipped quietly
// where qpdf is not installed).
inline void ExpectQpdfClean(const std::string& pdf) {
    if (!HaveProgram("qpdf"))
        return;
    TempDir dir;
    std::filesystem::path file = WriteFile(dir.Path() / "check.pdf", pdf);
    std::string report;
    EXPECT_EQ(RunCommand("qpdf --check '" + file.string() + "' 2>&1", &report), 0) << report;
}

// The content stream of the canvas's current page.
inline const std::string& Content(TPdfDoc& doc) {
    return dynamic_cast<TPdfStream*>(doc.GetCanvas()->GetPage()->Lookup("Contents"))->Stream();
}

} // namespace pendlar::test
