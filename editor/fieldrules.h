// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

// Rules of the editor's fields that need no widget: the name, the categories, the
// cooking devices and the recipe kind. Form texts are the widgets' texts; record texts
// are Windows-1252.

/// The five items of CBKochlevel; item i stands for difficulty i + 1.
const QStringList& difficultyNames();
/// The 17 items of CBIconliste; item 0 is the placeholder "Select cooking devices".
const QStringList& cookingDeviceItems();

/// Name field: the date picker is enabled while the name without leading blanks is not
/// empty.
bool nameAllowsDate(const QString& name);

/// Name field left: the name without its leading blanks (trailing blanks stay). An
/// empty result means message 1 "Please enter a name for the recipe!", an emptied
/// field and the focus kept in it.
QString nameOnLeave(const QString& name);

/// Category field entered or left: its text strictly normalised.
QString normaliseCategoryField(const QString& field);

/// True when the field holds the category followed by a comma anywhere (a plain
/// substring test): the caller asks message 3 "This category still exists. Add
/// nevertheless?" before adding.
bool categoryListed(const QString& field, const QString& category);

/// The field with the category added and strictly normalised.
QString addCategory(const QString& field, const QString& category);

/// Number of devices in a Devices list: its commas.
int deviceCount(const QByteArray& devices);

enum class DeviceToggle {
    Ignored, ///< no item or the placeholder chosen
    Removed, ///< the device was in the list and was switched off
    Added,   ///< appended with its comma
    Full,    ///< seven devices already: message 2 "Not enough space!", list unchanged
};

/// A choice of item (index into cookingDeviceItems(), -1 for none) in the device list,
/// applied to the record's Devices: a device that is an entry of the list is switched
/// off (its first entry), any other is appended while there is room.
DeviceToggle toggleDevice(QByteArray& devices, int item);

/// The seven device slots: the recipe's devices in ascending byte order, empty texts
/// for empty slots. Normalises the recipe's Devices.
std::array<QByteArray, 7> deviceSlots(TKVG& recipe);

/// The kind a click on the kind icon switches to: 1 from 0, 0 from any other value.
int switchedKind(int kind);

/// Kind icon click for the current recipe: with an empty name field nothing changes and
/// false is returned (message 1); otherwise the record's Kind switches at once (when
/// there is a current recipe). The form's texts are not touched: both layouts keep
/// their content and are both saved.
bool switchKind(Catalogue& catalogue, const QString& nameField);
