// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target for the schemaorg import reader: any bytes must be read without a crash,
// a hang or unbounded memory, and every recipe read must make a sound recipe file.

#include "fuzz_import.h"
#include "import/schemaorg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzReader(readSchemaOrg, data, size);
    return 0;
}
