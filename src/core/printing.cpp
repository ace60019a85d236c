#include "core/printing.h"

#include <string>

#include "core/print_layout.h"

namespace vorn {

void PrintText(Printer& printer, std::string_view text) {
  std::unique_ptr<PrintDocument> doc = printer.StartDocument();
  float y = 0;
  auto line = [&](std::string_view s) {
    if (y > 0 && y + doc->LineHeight() > doc->PageHeight()) {
      doc->NextPage();
      y = 0;
    }
    if (!s.empty()) doc->Text(y, s);
    y += doc->LineHeight();
  };
  line("Page #1");
  doc->Rule(y + 10.0f);
  line("");
  line("");
  auto measure = [&](std::string_view s) { return doc->TextWidth(s); };
  for (const std::string& l : LayoutLines(text, doc->PageWidth(), measure)) line(l);
  doc->Print();
}

}  // namespace vorn
