// SPDX-License-Identifier: GPL-2.0-or-later

#include "editor/picturedialog.h"

#include "editor/editordialogs.h"
#include "imaging/pictureloader.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

namespace {

constexpr QSize kPreviewSize(240, 240);

} // namespace

PictureDialog::PictureDialog(QWidget* parent, const QString& folder, const QString& proposedName)
    : QFileDialog(parent, QString(),
                  proposedName.isEmpty() ? folder : QDir(folder).filePath(proposedName))
{
    setObjectName(QStringLiteral("PictureDialog"));
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFile);
    setNameFilter(pictureDialogFilter());
    setWindowModality(Qt::WindowModal);

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("PicturePreview"));
    m_preview->setFixedSize(kPreviewSize);
    m_preview->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_preview->setAlignment(Qt::AlignCenter);
    // Qt's dialog lays its controls out in a grid whose second row holds the side bar
    // and the file list; the pane takes a column of its own beside them.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(m_preview, 1, grid->columnCount());
    connect(this, &QFileDialog::currentChanged, this, &PictureDialog::showPreview);
    showPreview(selectedFiles().value(0)); // the proposed file, when it is there
}

void PictureDialog::showPreview(const QString& path)
{
    // The loader reads a raster and draws a metafile no larger than the pane, aspect kept.
    const QSize room = m_preview->contentsRect().size();
    QImage picture;
    if (QFileInfo(path).isFile()) {
        PictureBounds bounds;
        bounds.metafile = room;
        bounds.raster = room;
        picture = loadPicture(path, nullptr, bounds);
    }
    if (picture.isNull())
        m_preview->setText(tr("No picture"));
    else
        m_preview->setPixmap(QPixmap::fromImage(picture));
}
