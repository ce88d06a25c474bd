#include "store/AcroPDDoc.h"

#include "SmallPdf.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <sys/stat.h>

namespace pendlar {
namespace {

using test::OutlineOf;
using test::PageLabels;
using test::QpdfChecks;
using test::ReadFile;
using test::WriteFile;
using test::WriteSmallPdf;

bool HaveOracles() {
    return test::HaveProgram("qpdf") && test::HaveProgram("pdftotext") &&
           test::HaveProgram("python3");
}

// The pages to insert: A1 … A3, with an outline that reaches its pages in every way a
// destination can be written: A1 by a name of the catalog's /Dests, its child A2 (closed
// under A1) by a GoTo action, A3 by a string of the /Names tree.
void WriteAddFile(const std::filesystem::path& path) {
    const std::filesystem::path plain = path.string() + ".plain.pdf";
    {
        TPdfDoc doc;
        doc.SetUseOutlines(true);
        doc.NewDoc();
        TPdfOutlineEntry* parent = nullptr;
        for (int i = 1; i <= 3; ++i) {
            doc.AddPage();
            doc.GetCanvas()->SetFont("Times-Roman", 24);
            doc.GetCanvas()->TextInRect({40, 800, 556, 770}, "A" + std::to_string(i),
                                        TextAlignment::Left, false);
            TPdfDestination* dest = doc.CreateDestination();
            dest->SetTop(842);
            TPdfOutlineEntry* entry =
                i == 2 ? parent->AddChild() : doc.GetOutlineRoot()->AddChild();
            entry->SetTitle("A" + std::to_string(i));
            entry->SetDest(dest);
            if (i == 1)
                parent = entry;
        }
        doc.SaveToFile(FileNameToSjisPath(plain.string()));
    }
    QPDF q;
    q.processFile(plain.string().c_str());
    QPDFObjectHandle root = q.getRoot();
    QPDFObjectHandle a1 = root.getKey("/Outlines").getKey("/First");
    QPDFObjectHandle a2 = a1.getKey("/First");
    QPDFObjectHandle a3 = a1.getKey("/Next");
    QPDFObjectHandle dests = QPDFObjectHandle::newDictionary();
    dests.replaceKey("/First", a1.getKey("/Dest"));
    root.replaceKey("/Dests", q.makeIndirectObject(dests));
    a1.replaceKey("/Dest", QPDFObjectHandle::newName("/First"));
    QPDFObjectHandle action = QPDFObjectHandle::newDictionary();
    action.replaceKey("/S", QPDFObjectHandle::newName("/GoTo"));
    action.replaceKey("/D", a2.getKey("/Dest"));
    a2.removeKey("/Dest");
    a2.replaceKey("/A", action);
    QPDFObjectHandle names = QPDFObjectHandle::newArray();
    names.appendItem(QPDFObjectHandle::newString("third"));
    names.appendItem(a3.getKey("/Dest"));
    QPDFObjectHandle tree = QPDFObjectHandle::newDictionary();
    tree.replaceKey("/Names", names);
    QPDFObjectHandle nameDict = QPDFObjectHandle::newDictionary();
    nameDict.replaceKey("/Dests", q.makeIndirectObject(tree));
    root.replaceKey("/Names", nameDict);
    a3.replaceKey("/Dest", QPDFObjectHandle::newString("third"));
    const std::string out = path.string(); // the writer keeps the pointer until write()
    QPDFWriter w(q, out.c_str());
    w.write();
    std::filesystem::remove(plain);
}

class AcroPDDocTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveOracles())
            GTEST_SKIP() << "qpdf, pdftotext or python3 missing";
        base_ = dir_.Path() / "base.pdf";
        add_ = dir_.Path() / "add.pdf";
        WriteAddFile(add_);
    }
    void TearDown() override { CAcroPDDoc::WriteProbe = nullptr; }

    std::string Sjis(const std::filesystem::path& p) { return FileNameToSjisPath(p.string()); }

    // Inserts the add file after `after` and saves the base in place.
    void InsertAndSave(int after) {
        CAcroPDDoc base, add;
        ASSERT_TRUE(base.Open(Sjis(base_))) << base.LastError();
        ASSERT_TRUE(add.Open(Sjis(add_))) << add.LastError();
        ASSERT_TRUE(base.InsertPages(after, add, 0, add.GetNumPages(), true)) << base.LastError();
        ASSERT_TRUE(
            base.Save(CAcroPDDoc::PDSaveFull | CAcroPDDoc::PDSaveCollectGarbage, Sjis(base_)))
            << base.LastError();
        add.Close();
    }

    test::TempDir dir_;
    std::filesystem::path base_, add_;
};

TEST_F(AcroPDDocTest, InsertsPagesAndOutlineAtTheRequestedPlace) {
    struct Case {
        int After;
        bool BaseOutline;
        std::vector<std::string> Pages;
        std::string Outline;
    } cases[] = {
        {-1,
         true,
         {"A1", "A2", "A3", "B1", "B2", "B3", "B4", "B5"},
         "A1>1[A2>2],A3>3,B1>4,B2>5,B3>6,B4>7,B5>8"},
        {4,
         true,
         {"B1", "B2", "B3", "B4", "B5", "A1", "A2", "A3"},
         "B1>1,B2>2,B3>3,B4>4,B5>5,A1>6[A2>7],A3>8"},
        {1,
         true,
         {"B1", "B2", "A1", "A2", "A3", "B3", "B4", "B5"},
         "B1>1,B2>2,B3>6,B4>7,B5>8,A1>3[A2>4],A3>5"},
        {-1, false, {"A1", "A2", "A3", "B1", "B2", "B3", "B4", "B5"}, "A1>1[A2>2],A3>3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("after " + std::to_string(c.After));
        WriteSmallPdf(base_, "B", 5, c.BaseOutline);
        InsertAndSave(c.After);
        std::string report;
        EXPECT_TRUE(QpdfChecks(base_, "", &report)) << report;
        EXPECT_EQ(PageLabels(base_), c.Pages);
        EXPECT_EQ(OutlineOf(base_), c.Outline);
    }
}

TEST_F(AcroPDDocTest, ClosedParentStaysClosedWithItsCount) {
    WriteSmallPdf(base_, "B", 2);
    InsertAndSave(1);
    QPDF q;
    q.processFile(base_.string().c_str());
    QPDFObjectHandle root = q.getRoot().getKey("/Outlines");
    // B1, B2, A1 and A3 are visible; A2 sits inside the closed A1.
    EXPECT_EQ(root.getKey("/Count").getIntValue(), 4);
    QPDFObjectHandle a1 = root.getKey("/Last").getKey("/Prev");
    EXPECT_EQ(a1.getKey("/Title").getStringValue(), "A1");
    EXPECT_EQ(a1.getKey("/Count").getIntValue(), -1);
    EXPECT_EQ(a1.getKey("/First").getKey("/Parent").getObjGen(), a1.getObjGen());
    // No object of the add file's outline or names came along.
    EXPECT_FALSE(q.getRoot().hasKey("/Dests"));
    EXPECT_FALSE(q.getRoot().hasKey("/Names"));
}

TEST_F(AcroPDDocTest, RefusesWhatIsNotAReadablePdf) {
    WriteSmallPdf(base_, "B", 5);
    const std::string whole = ReadFile(base_);
    struct Case {
        const char* Name;
        std::string Bytes;
    } cases[] = {
        {"empty", ""},
        {"text", "not a pdf at all\n"},
        {"first half", whole.substr(0, whole.size() / 2)},
        {"broken xref",
         [&] {
             std::string s = whole;
             std::size_t x = s.rfind("startxref");
             s.replace(x + 11, 3, "999");
             return s;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteFile(dir_.Path() / "bad.pdf", c.Bytes);
        CAcroPDDoc doc;
        EXPECT_FALSE(doc.Open(Sjis(dir_.Path() / "bad.pdf")));
        EXPECT_FALSE(doc.IsOpen());
        EXPECT_EQ(doc.GetNumPages(), -1);
    }
    CAcroPDDoc doc;
    EXPECT_FALSE(doc.Open(Sjis(dir_.Path() / "missing.pdf")));
}

TEST_F(AcroPDDocTest, FailedWriteLeavesTheFileAsItWas) {
    WriteSmallPdf(base_, "B", 5);
    ::chmod(base_.c_str(), 0640);
    const std::string before = ReadFile(base_);
    CAcroPDDoc base, add;
    ASSERT_TRUE(base.Open(Sjis(base_)));
    ASSERT_TRUE(add.Open(Sjis(add_)));
    ASSERT_TRUE(base.InsertPages(4, add, 0, 3, true));
    const std::uint64_t half = before.size() / 2;
    std::uint64_t seen = 0;
    CAcroPDDoc::WriteProbe = [&](std::uint64_t written) {
        seen = written;
        return written < half;
    };
    EXPECT_FALSE(base.Save(33, Sjis(base_)));
    EXPECT_GE(seen, half);
    EXPECT_FALSE(base.IsOpen());
    EXPECT_EQ(ReadFile(base_), before);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir_.Path()))
        ++files;
    EXPECT_EQ(files, 2u) << "the temporary file was left behind";

    // The same save without the fault replaces the file and keeps its permissions.
    CAcroPDDoc::WriteProbe = nullptr;
    ASSERT_TRUE(base.Open(Sjis(base_)));
    ASSERT_TRUE(base.InsertPages(4, add, 0, 3, true));
    ASSERT_TRUE(base.Save(33, Sjis(base_)));
    struct stat st {};
    ASSERT_EQ(::stat(base_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(PageLabels(base_).size(), 8u);
}

TEST_F(AcroPDDocTest, EncryptsWithThePolicy) {
    struct Case {
        SecurityPolicy Policy;
        std::vector<std::string> Expected; // lines of qpdf --show-encryption
    } cases[] = {
        {{"user", "owner", false, true, false, true},
         {"R = 6", "extract for any purpose: allowed", "print low resolution: not allowed",
          "modify other: not allowed", "modify annotations: allowed",
          "modify document assembly: not allowed"}},
        {{"", "owner2", true, false, true, false},
         {"R = 6", "extract for any purpose: not allowed", "print high resolution: allowed",
          "modify other: allowed", "modify annotations: not allowed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("user password '" + c.Policy.UserPassword + "'");
        WriteSmallPdf(base_, "B", 2);
        CAcroPDDoc doc;
        ASSERT_TRUE(doc.Open(Sjis(base_)));
        ASSERT_TRUE(doc.CanChangeSecurity());
        ASSERT_TRUE(doc.EncryptUsingPolicy(c.Policy));
        ASSERT_TRUE(doc.Save(33, Sjis(base_))) << doc.LastError();

        const std::string owner = "--password=" + c.Policy.OwnerPassword;
        std::string shown;
        test::RunCommand("qpdf --show-encryption " + owner + " '" + base_.string() + "'", &shown);
        for (const std::string& line : c.Expected)
            EXPECT_NE(shown.find(line), std::string::npos) << line << "\n" << shown;
        EXPECT_NE(shown.find("AESv3"), std::string::npos) << shown;
        EXPECT_TRUE(QpdfChecks(base_, owner));
        const std::vector<std::string> pages = {"B1", "B2"};
        if (c.Policy.UserPassword.empty()) {
            EXPECT_EQ(PageLabels(base_), pages);
        } else {
            EXPECT_TRUE(PageLabels(base_).empty());
            EXPECT_EQ(PageLabels(base_, "-upw " + c.Policy.UserPassword), pages);
        }
    }
}

TEST_F(AcroPDDocTest, EncryptedChartOpensWithItsOwnerPasswordAndStaysEncrypted) {
    WriteSmallPdf(base_, "B", 2);
    const SecurityPolicy policy{"", "secret", true, true, true, true};
    {
        CAcroPDDoc doc;
        ASSERT_TRUE(doc.Open(Sjis(base_)));
        doc.EncryptUsingPolicy(policy);
        ASSERT_TRUE(doc.Save(33, Sjis(base_)));
    }
    CAcroPDDoc base, add;
    // Without the owner password it opens (empty user password) but its security is fixed.
    ASSERT_TRUE(base.Open(Sjis(base_)));
    EXPECT_FALSE(base.CanChangeSecurity());
    EXPECT_FALSE(base.EncryptUsingPolicy(policy));
    ASSERT_TRUE(base.Open(Sjis(base_), {"wrong", "secret"}));
    EXPECT_TRUE(base.CanChangeSecurity());
    ASSERT_TRUE(add.Open(Sjis(add_)));
    ASSERT_TRUE(base.InsertPages(1, add, 0, 3, true));
    ASSERT_TRUE(base.Save(33, Sjis(base_))) << base.LastError();
    std::string shown;
    test::RunCommand("qpdf --show-encryption --password=secret '" + base_.string() + "'", &shown);
    EXPECT_NE(shown.find("R = 6"), std::string::npos) << shown;
    EXPECT_EQ(PageLabels(base_), (std::vector<std::string>{"B1", "B2", "A1", "A2", "A3"}));
    EXPECT_EQ(OutlineOf(base_, "--password=secret"), "B1>1,B2>2,A1>3[A2>4],A3>5");
}

TEST_F(AcroPDDocTest, UserPasswordIsNeededToOpen) {
    WriteSmallPdf(base_, "B", 2);
    {
        CAcroPDDoc doc;
        ASSERT_TRUE(doc.Open(Sjis(base_)));
        doc.EncryptUsingPolicy({"user", "owner", true, true, true, true});
        ASSERT_TRUE(doc.Save(33, Sjis(base_)));
    }
    CAcroPDDoc doc;
    EXPECT_FALSE(doc.Open(Sjis(base_)));
    EXPECT_TRUE(doc.Open(Sjis(base_), {"user"}));
    EXPECT_FALSE(doc.CanChangeSecurity());
    EXPECT_TRUE(doc.Open(Sjis(base_), {"owner"}));
    EXPECT_TRUE(doc.CanChangeSecurity());
}

TEST_F(AcroPDDocTest, RefusesRangesOutsideTheDocuments) {
    WriteSmallPdf(base_, "B", 5);
    CAcroPDDoc base, add;
    ASSERT_TRUE(base.Open(Sjis(base_)));
    ASSERT_TRUE(add.Open(Sjis(add_)));
    for (auto [after, start, count] : {std::tuple{-2, 0, 3}, {5, 0, 3}, {0, 1, 3}, {0, 0, 0}})
        EXPECT_FALSE(base.InsertPages(after, add, start, count, true)) << after << start << count;
    EXPECT_FALSE(base.InsertPages(0, base, 0, 1, true));
    CAcroPDDoc closed;
    EXPECT_FALSE(base.InsertPages(0, closed, 0, 1, true));
    EXPECT_EQ(base.GetNumPages(), 5);
}

} // namespace
} // namespace pendlar
