# SPDX-License-Identifier: GPL-2.0-or-later
"""Exports the demo collection as a website and reads every recipe page with
recipe_scrapers' schema.org reader: title, ingredients, instructions and yield must be
what --export-json says of the recipe. Exit 77 (skipped) when recipe_scrapers is missing.

Usage: peer_recipe_scrapers.py DILBOSCAN DATA_FOLDER
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile

try:
    from recipe_scrapers import scrape_html
    from recipe_scrapers._utils import get_yields, normalize_string
except ImportError:
    print("recipe_scrapers is not installed; skipped")
    sys.exit(77)


def lines(text):
    """Non-blank lines as the peer gives texts back: blanks collapsed, character
    references read."""
    return [normalize_string(line) for line in (text or "").split("\n") if line.strip()]


def expected_ingredients(recipe):
    """The ingredient lines as the export writes them: the free lines, or the four
    deluxe columns joined ("2 tbsp sugar, sifted")."""
    names = ("Quantities", "Units", "IngredientNames", "Descriptions")
    columns = [(recipe.get(name + "Text") or "").split("\n") for name in names]
    if recipe["Kind"] == 1 and any(recipe.get(name) for name in names):
        rows = []
        count = max(len(c) for c in columns[:3])
        for i in range(count):
            q, u, n, p = (normalize_string(c[i]) if i < len(c) else "" for c in columns)
            if not (q or u or n):
                continue
            text = " ".join(part for part in (q, u, n) if part)
            if p:
                text += (", " if text else "") + p
            rows.append(text)
        return rows
    return lines(recipe.get("IngredientsText"))


def main():
    program, data = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        base = os.path.join(tmp, "base")
        shutil.copytree(data, base, ignore=shutil.ignore_patterns("manual.pdf"))
        run = dict(cwd=base, check=True, capture_output=True)
        recipes = json.loads(subprocess.run([program, "--export-json"], **run).stdout)
        site = os.path.join(tmp, "site")
        subprocess.run([program, "--export-html", site], **run)
        pages = sorted(f for f in os.listdir(site) if f.endswith(".html") and f != "index.html")
        if len(pages) != len(recipes) or not pages:
            failures.append(f"{len(pages)} pages for {len(recipes)} recipes")
        by_name = {normalize_string(r["Name"]): r for r in recipes}
        for page in pages:
            with open(os.path.join(site, page), encoding="utf-8") as f:
                scraper = scrape_html(f.read(), org_url=None)
            recipe = by_name.get(scraper.title())
            if recipe is None:
                failures.append(f"{page}: title {scraper.title()!r} is no recipe's name")
                continue
            checks = [
                ("ingredients", scraper.ingredients(), expected_ingredients(recipe)),
                ("instructions", lines(scraper.instructions()), lines(recipe.get("InstructionsText"))),
            ]
            servings = normalize_string(recipe["Servings"])
            if any(ch.isdigit() for ch in servings):
                checks.append(("yield", scraper.yields(), get_yields(servings)))
            for what, found, wanted in checks:
                if found != wanted:
                    failures.append(f"{page}: {what} {found!r} instead of {wanted!r}")
    for failure in failures:
        print(failure)
    print(f"{len(pages)} pages read, {len(failures)} differences")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
