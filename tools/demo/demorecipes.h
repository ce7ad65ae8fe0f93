// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QDate>
#include <QList>

// The recipes of the demo collection that make_demo_recipes writes. Texts are UTF-8 in
// the markup of demo/markup.h; device names are the names of the device pictures.

namespace demo {

struct DemoRecipe {
    const char* name;
    const char* categories = "";
    int difficulty = 1;
    const char* prepTime = "";
    const char* devices = "";
    const char* servings = "";
    QDate lastCooked;
    QList<QDate> cookedDates = {};
    const char* picture = ""; ///< a file of Graphic/PNG/, or none
    const char* ingredients = "";
    const char* instructions = "";
    const char* comments = "";
    const char* columns = ""; ///< deluxe rows "quantity|unit|ingredient|preparation"
    const char* binder = "";
    const char* magazine = "";
    const char* book = "";
    const char* page = "";
    const char* remark = "";
    bool richText = true; ///< write the texts as side files too
};

const QList<DemoRecipe>& demoRecipes();

} // namespace demo
