#pragma once

#include "recipegenerator.h"

#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/session.h"
#include "preview/printers.h"

#include <memory>

/// Lays out a base folder for the preview benchmarks: the shipped interface pictures
/// under base, the given printers, every question answered No and the progress window's
/// pauses (which are not the preview's work) left out.
inline void setUpPreviewBase(const QString& base, std::unique_ptr<PrinterInterface> printers)
{
    copyFolder(QStringLiteral(DILBO_SOURCE_DIR "/data/Graphic"), base + QStringLiteral("Graphic"));
    setBaseFolder(base);
    SetPrinters(std::move(printers));
    SetShowMsgHook([](int, int, int) { return kAnswerNo; });
    SetProgressPauseHook([](int) {});
}
