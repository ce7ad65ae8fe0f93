// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipegenerator.h"

#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/session.h"
#include "platform/richtext/rtfwriter.h"
#include "preview/printers.h"

#include <QDir>
#include <QRandomGenerator>

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

/// The recipe the preview benchmarks lay out, saved as file in base: a name, categories,
/// servings, time, difficulty, two devices, comments of 4 lines and the shipped
/// pancake picture.
inline TKVG benchRecipe(const QString& base, const QString& file)
{
    QRandomGenerator random(7);
    TKVG r;
    r.FileName = file;
    r.FilePath = base + QStringLiteral("prepared_recipes/") + file;
    r.Name = "Chocolate cake with cherries";
    r.Categories = "Cakes,Desserts,";
    r.Servings = "8";
    r.PrepTime = "90 minutes";
    r.Difficulty = 4;
    r.Devices = "baking oven,cooking pot,";
    r.Comments = cookingLines(random, 4, 8);
    r.PictureFile = base + QStringLiteral("Graphic/PNG/Pancakes.png");
    return r;
}

/// benchRecipe as a normal recipe "Cake.vrez": 12 ingredients and 5,000 characters of
/// formatted instructions in its instruction file.
inline TKVG normalBenchRecipe(const QString& base)
{
    QRandomGenerator random(11);
    TKVG r = benchRecipe(base, QStringLiteral("Cake.vrez"));
    r.Ingredients = cookingLines(random, 12, 3);
    r.InstructionsRtf = r.FilePath + QStringLiteral(".003");
    QDir().mkpath(base + QStringLiteral("prepared_recipes"));
    rich::writeRtfFile(r.InstructionsRtf, formattedText(5000));
    return r;
}
