// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "import/importrecipe.h"

// Recipes as schema.org data (JSON-LD): a ".json" file, or a saved web page whose
// <script type="application/ld+json"> blocks hold them. Blocks are found by a plain
// scan (no HTML parser) and read with QJsonDocument. A recipe is an object whose
// "@type" is "Recipe" or a list holding it, anywhere in a block (inside "@graph" too).
// It becomes a normal recipe: name, ingredient lines, instructions (text, HowToStep, or
// HowToSection with its name as a line of its own), yield, the cooking time (the total
// and its parts: "2 h (preparation 1 h, cooking 1 h)"), categories, description as the
// remark, author and address as the remark or comments, and the picture when it is a
// file in the page's folder or below it. Content fields it does not import (keywords,
// nutrition, cuisine...) are named in the problems.

/// True when text holds schema.org data: a JSON-LD script block, or JSON naming a type.
bool looksLikeSchemaOrg(QStringView text);

/// Reads every recipe of a web page or JSON-LD file.
void readSchemaOrg(const QByteArray& bytes, const QString& path, const RecipeSink& sink,
                   QList<ImportProblem>* problems);
