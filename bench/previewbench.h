// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipegenerator.h"

#include "benchsupport.h"

#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/session.h"
#include "platform/richtext/devicefont.h"
#include "platform/richtext/rendertarget.h"
#include "platform/richtext/rtfwriter.h"
#include "preview/printers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QRandomGenerator>
#include <QTextLayout>

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

/// Lays out and draws the texts once with QTextLayout, each in its own fonts at the
/// width the preview gave it: the baseline of the preview's own text layout. Returns
/// wall and process CPU milliseconds.
inline std::pair<double, double> qtBaseline(const QList<rich::RichDocument>& texts,
                                            const QList<int>& widths)
{
    using namespace rich;
    QImage image = newScreenImage(QSize(1200, 2400));
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = cpuMs();
    QPainter painter(&image);
    for (int t = 0; t < texts.size(); ++t) {
        const RichDocument& doc = texts.at(t);
        qreal y = 0;
        for (const RichLine& line : doc.lines()) {
            QList<QTextLayout::FormatRange> formats;
            for (qsizetype i = 0; i < line.text.size();) {
                qsizetype end = i + 1;
                while (end < line.text.size() && line.formats.at(end) == line.formats.at(i))
                    ++end;
                QTextCharFormat qf;
                qf.setFont(fontForDevice(doc.format(line.formats.at(i)), kScreenDpi));
                formats.append({int(i), int(end - i), qf});
                i = end;
            }
            QTextLayout layout(line.text, fontForDevice(doc.defaultFormat(), kScreenDpi), &image);
            layout.setFormats(formats);
            layout.beginLayout();
            for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
                l.setLineWidth(std::max(widths.at(t), 20));
                l.setPosition(QPointF(0, y));
                y += l.height();
            }
            layout.endLayout();
            layout.draw(&painter, QPointF(0, 0));
        }
    }
    painter.end();
    return {timer.nsecsElapsed() / 1e6, cpuMs() - cpuStart};
}
