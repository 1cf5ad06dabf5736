#include "printing/line_printer.h"

#include <algorithm>

namespace printing {

namespace {

constexpr char kTab = '\t';
constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kFormFeed = '\f';

bool IsControl(char c) { return c == kTab || c == kLineFeed || c == kCarriageReturn || c == kFormFeed; }

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The text without its last character (a whole UTF-8 sequence).
std::string_view DropLastCharacter(std::string_view text) {
  std::size_t end = text.size();
  if (end == 0) return text;
  --end;
  while (end > 0 && IsContinuationByte(text[end])) --end;
  return text.substr(0, end);
}

// Length in bytes of the first character.
std::size_t FirstCharacterLength(std::string_view text) {
  std::size_t n = 1;
  while (n < text.size() && IsContinuationByte(text[n])) ++n;
  return std::min(n, text.size());
}

}  // namespace

LinePrinter::LinePrinter(DrawingSurface& surface)
    : surface_(surface), pageWidth_(surface.PageWidth()), pageHeight_(surface.PageHeight()) {}

LinePrinter::~LinePrinter() { Close(); }

void LinePrinter::Write(std::string_view text) {
  while (!text.empty()) {
    const auto stop = std::find_if(text.begin(), text.end(), IsControl);
    const std::size_t runLength = static_cast<std::size_t>(stop - text.begin());
    PrintRun(text.substr(0, runLength));
    if (runLength == text.size()) return;
    switch (text[runLength]) {
      case kTab:
        Tab();
        break;
      case kLineFeed:
        NextLine();
        break;
      case kFormFeed:
        NewPage();
        break;
      default:  // a carriage return only ends the run
        break;
    }
    text.remove_prefix(runLength + 1);
  }
}

void LinePrinter::EndLine() { Write("\r\n"); }

void LinePrinter::Close() {
  if (!open_) return;
  open_ = false;
  surface_.EndJob();
}

void LinePrinter::PrintRun(std::string_view run) {
  while (!run.empty()) {
    if (caretX_ + surface_.TextWidth(run) <= pageWidth_) {
      PrintPart(run);
      return;
    }
    std::string_view part = DropLastCharacter(run);
    while (!part.empty() && caretX_ + surface_.TextWidth(part) > pageWidth_) part = DropLastCharacter(part);
    // A page narrower than one character still gets one per line, so the
    // text always moves on.
    if (part.empty() && caretX_ == 0) part = run.substr(0, FirstCharacterLength(run));
    PrintPart(part);
    NextLine();
    run.remove_prefix(part.size());
  }
}

void LinePrinter::PrintPart(std::string_view part) {
  if (part.empty()) return;
  surface_.DrawText(caretX_, caretY_, part);
  const int height = surface_.TextHeight(part);
  if (lineHeight_ < height) lineHeight_ = height + 2;
  caretX_ += surface_.TextWidth(part);
}

void LinePrinter::Tab() {
  const int width = std::max(1, 8 * surface_.AverageCharWidth());
  caretX_ = width * ((caretX_ + 1) / width + 1);
  if (caretX_ > pageWidth_) NextLine();
}

void LinePrinter::NextLine() {
  caretX_ = 0;
  caretY_ += lineHeight_ > 0 ? lineHeight_ : surface_.CharHeight();
  if (caretY_ > pageHeight_ - 2 * lineHeight_) NewPage();
  lineHeight_ = 0;
}

void LinePrinter::NewPage() {
  caretX_ = 0;
  caretY_ = 0;
  surface_.NewPage();
}

}  // namespace printing
