// SPDX-License-Identifier: GPL-2.0-or-later

#include "editor/fieldrules.h"

#include "platform/cp1252.h"
#include "recipes/textrules.h"

namespace {

constexpr int kMaxDevices = 7;

QByteArray ansi(const QString& text)
{
    return cp1252::fromUnicode(text);
}

// Position of name as a whole entry of a comma list: a device that a file names
// "large skillet" is not the skillet, and switching the skillet off must not cut it.
qsizetype indexOfEntry(const QByteArray& list, const QByteArray& name)
{
    for (qsizetype at = list.indexOf(name); at >= 0; at = list.indexOf(name, at + 1)) {
        const qsizetype end = at + name.size();
        if ((at == 0 || list.at(at - 1) == ',') && (end == list.size() || list.at(end) == ','))
            return at;
    }
    return -1;
}

} // namespace

const QStringList& difficultyNames()
{
    static const QStringList names{QStringLiteral("very easy"), QStringLiteral("easy"),
                                   QStringLiteral("medium"), QStringLiteral("difficult"),
                                   QStringLiteral("tough")};
    return names;
}

const QStringList& cookingDeviceItems()
{
    static const QStringList items{
        QStringLiteral("Select cooking devices"), QStringLiteral("baking dish"),
        QStringLiteral("baking oven"),            QStringLiteral("barbecue"),
        QStringLiteral("cooking pot"),            QStringLiteral("deep fryer"),
        QStringLiteral("fondue"),                 QStringLiteral("juicer"),
        QStringLiteral("microwave"),              QStringLiteral("mixer"),
        QStringLiteral("ovenproof dish"),         QStringLiteral("raclette set"),
        QStringLiteral("refrigerator"),           QStringLiteral("sandwich maker"),
        QStringLiteral("skillet"),                QStringLiteral("waffle iron"),
        QStringLiteral("water bath")};
    return items;
}

bool nameAllowsDate(const QString& name)
{
    return !nameOnLeave(name).isEmpty();
}

QString nameOnLeave(const QString& name)
{
    qsizetype start = 0;
    while (start < name.size() && name.at(start) == QLatin1Char(' '))
        ++start;
    return name.mid(start);
}

QString normaliseCategoryField(const QString& field)
{
    return cp1252::toUnicode(NormaliseCommaListStrict(ansi(field)));
}

bool categoryListed(const QString& field, const QString& category)
{
    return field.contains(category + QLatin1Char(','));
}

QString addCategory(const QString& field, const QString& category)
{
    QString result = field;
    if (!result.isEmpty() && !result.endsWith(QLatin1Char(',')))
        result += QLatin1Char(',');
    result += category;
    return normaliseCategoryField(result);
}

int deviceCount(const QByteArray& devices)
{
    return int(devices.count(','));
}

DeviceToggle toggleDevice(QByteArray& devices, int item)
{
    if (item <= 0 || item >= cookingDeviceItems().size())
        return DeviceToggle::Ignored;
    const QByteArray name = ansi(cookingDeviceItems().at(item));
    const qsizetype at = indexOfEntry(devices, name);
    if (at >= 0) {
        qsizetype length = name.size();
        if (at + length < devices.size() && devices.at(at + length) == ',')
            ++length;
        devices.remove(at, length);
        return DeviceToggle::Removed;
    }
    if (deviceCount(devices) >= kMaxDevices)
        return DeviceToggle::Full;
    devices += name + ',';
    return DeviceToggle::Added;
}

std::array<QByteArray, 7> deviceSlots(TKVG& recipe)
{
    std::array<QByteArray, 7> filled;
    const QByteArrayList names = CollectDevices(recipe);
    for (qsizetype i = 0; i < names.size() && i < qsizetype(filled.size()); ++i)
        filled[size_t(i)] = names.at(i);
    return filled;
}

int switchedKind(int kind)
{
    return kind == 0 ? 1 : 0;
}

bool switchKind(Catalogue& catalogue, const QString& nameField)
{
    if (nameField.isEmpty())
        return false;
    const int current = catalogue.CurrentRecipe;
    if (current >= 0 && current < catalogue.recipes.size())
        catalogue.recipes[current].Kind = switchedKind(catalogue.recipes[current].Kind);
    return true;
}
