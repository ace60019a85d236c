// Printing a pad on the default printer: "Page #1" and a rule at the top, then the text, its
// long lines wrapped, going on to further pages as needed.
#pragma once

#include <memory>
#include <string_view>

#include "core/platform_error.h"

namespace vorn {

// One document on the printer, in twips of the printable area. A document that is dropped
// before Print is cancelled: nothing of it reaches the printer.
class PrintDocument {
 public:
  virtual ~PrintDocument() = default;
  virtual float PageWidth() const = 0;
  virtual float PageHeight() const = 0;
  virtual float LineHeight() const = 0;
  virtual float TextWidth(std::string_view text) = 0;
  // One line of text at the left edge, its top at `y`.
  virtual void Text(float y, std::string_view line) = 0;
  // A thin black line across the page at `y`.
  virtual void Rule(float y) = 0;
  virtual void NextPage() = 0;
  // Hands the document to the printer; throws PlatformError.
  virtual void Print() = 0;
};

class Printer {
 public:
  virtual ~Printer() = default;
  // A new document on the default printer; throws PlatformError when there is none.
  virtual std::unique_ptr<PrintDocument> StartDocument() = 0;
};

// Prints `text` (UTF-8) as one document; throws PlatformError, and then nothing is printed.
void PrintText(Printer& printer, std::string_view text);

}  // namespace vorn
