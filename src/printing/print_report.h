#pragma once
// Printing one report as one job on the current printer in the printer font.

#include "platform/message_boxes.h"
#include "printing/printer_settings.h"
#include "printing/report_frame.h"

namespace printing {

// Without a printer, or when the printer refuses the job, says so and prints
// nothing. True when the report went to the printer.
bool PrintReport(PrinterSettings& settings, const Report& report, bool spanish, platform::MessageBoxes& boxes);

}  // namespace printing
