// The default printer through GDI, without a dialog.
#pragma once

#include "core/printing.h"

namespace vorn::win {

class DefaultPrinter : public Printer {
 public:
  std::unique_ptr<PrintDocument> StartDocument() override;
};

}  // namespace vorn::win
