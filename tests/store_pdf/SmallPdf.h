// Small chart-like PDFs written with our own writer, for the tests of the document layer
// and the add flow: each page shows its label ("B1", "B2", …) and, when asked, has an
// outline entry of the same title that opens it.
#pragma once

#include "pdf/PdfDoc.h"
#include "util/Sjis.h"

#include "TempDir.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pendlar::test {

inline void WriteSmallPdf(const std::filesystem::path& path, const std::string& prefix, int pages,
                          bool outline = true) {
    TPdfDoc doc;
    doc.SetUseOutlines(outline);
    doc.NewDoc();
    for (int i = 1; i <= pages; ++i) {
        doc.AddPage();
        TPdfCanvas* canvas = doc.GetCanvas();
        canvas->SetFont("Times-Roman", 24);
        const std::string label = prefix + std::to_string(i);
        canvas->TextInRect({40, 800, 556, 770}, label, TextAlignment::Left, false);
        if (outline) {
            TPdfDestination* dest = doc.CreateDestination();
            dest->SetTop(842);
            TPdfOutlineEntry* entry = doc.GetOutlineRoot()->AddChild();
            entry->SetTitle(label);
            entry->SetDest(dest);
        }
    }
    doc.SaveToFile(FileNameToSjisPath(path.string()));
}

// The label of every page in order, as pdftotext reads them ("" when pdftotext fails).
inline std::vector<std::string> PageLabels(const std::filesystem::path& path,
                                           const std::string& passwordOption = "") {
    std::string out;
    if (RunCommand("pdftotext -q " + passwordOption + " '" + path.string() + "' - 2>/dev/null",
                   &out) != 0)
        return {};
    std::vector<std::string> labels;
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\f', start);
        if (end == std::string::npos)
            break;
        std::string page = out.substr(start, end - start);
        while (!page.empty() && (page.back() == '\n' || page.back() == ' '))
            page.pop_back();
        while (!page.empty() && (page.front() == '\n' || page.front() == ' '))
            page.erase(page.begin());
        labels.push_back(page);
        start = end + 1;
    }
    return labels;
}

// The outline as "title>page" items in order, children in brackets after their parent,
// as qpdf reads it (pages counted from 1; 0 for an entry without a page).
inline std::string OutlineOf(const std::filesystem::path& path,
                             const std::string& passwordOption = "") {
    std::string out;
    // Python reads qpdf's JSON; the shape of the result keeps the tests readable.
    const std::string script =
        "import json,sys\n"
        "d=json.load(sys.stdin)\n"
        "def f(items):\n"
        "  return ','.join(i['title']+'>'+str(i.get('destpageposfrom1') or 0)+"
        "('['+f(i['kids'])+']' if i['kids'] else '') for i in items)\n"
        "print(f(d['outlines']),end='')\n";
    WriteFile(path.string() + ".outline.py", script);
    RunCommand("qpdf --json --json-key=outlines " + passwordOption + " '" + path.string() +
                   "' | python3 '" + path.string() + ".outline.py'",
               &out);
    std::filesystem::remove(path.string() + ".outline.py");
    return out;
}

// True when qpdf --check finds no fault.
inline bool QpdfChecks(const std::filesystem::path& path, const std::string& passwordOption = "",
                       std::string* report = nullptr) {
    std::string out;
    int rc = RunCommand("qpdf --check " + passwordOption + " '" + path.string() + "' 2>&1", &out);
    if (report)
        *report = out;
    return rc == 0 && out.find("No syntax or stream encoding errors") != std::string::npos;
}

} // namespace pendlar::test
