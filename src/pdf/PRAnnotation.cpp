#include "pdf/PRAnnotation.h"

namespace pendlar {

std::string TPRAnnotation::ContentsText() const {
    std::string joined;
    for (const std::string& line : Lines) {
        joined += line;
        joined += "\r\n";
    }
    std::size_t first = 0, last = joined.size();
    while (first < last && static_cast<unsigned char>(joined[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(joined[last - 1]) <= ' ')
        --last;
    std::string text;
    text.reserve(last - first);
    for (std::size_t i = first; i < last; ++i) {
        text += joined[i];
        if (joined[i] == '\r' && i + 1 < last && joined[i + 1] == '\n')
            ++i;
    }
    return text;
}

void TPRAnnotation::Print(TPRCanvas& canvas, const TRect& rect) {
    TPdfCanvas& pdf = *canvas.PdfCanvas();
    const int pageHeight = canvas.PageHeight();
    TPdfDictionary* annotation = pdf.GetDoc()->AddAnotation(
        TPdfAnnotationSubtype::Text,
        {static_cast<float>(rect.Left), static_cast<float>(pageHeight - rect.Bottom),
         static_cast<float>(rect.Right), static_cast<float>(pageHeight - rect.Top)});
    annotation->Put("Contents", new TPdfText(ContentsText()));
    annotation->Put("T", new TPdfText(Caption));
    if (Opened)
        annotation->Put("Open", new TPdfBoolean(true));
}

} // namespace pendlar
