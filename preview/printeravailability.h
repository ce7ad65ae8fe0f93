#pragma once

#include <functional>

/// True when a printer can be used: a printer of the system's list, or the built-in
/// "Print to PDF" printer, which always exists. Tests can stand for "no printer".
bool PrinterAvailable();

/// Replaces the answer of PrinterAvailable (tests); an empty function restores it.
void SetPrinterAvailableOverride(std::function<bool()> answer);
