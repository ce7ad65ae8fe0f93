// SPDX-License-Identifier: GPL-2.0-or-later
// The texts of the demo collection: everyday dishes in our own words.

#include "demo/demorecipes.h"

namespace demo {

namespace {

QList<DemoRecipe> makeRecipes()
{
    QList<DemoRecipe> list;

    list.append({
        .name = "Fluffy Pancakes",
        .categories = "Breakfast,Sweet dishes,Quick meals,",
        .difficulty = 1,
        .prepTime = "25 minutes",
        .devices = "skillet,",
        .servings = "8 pancakes",
        .lastCooked = QDate(2025, 3, 9),
        .cookedDates = {QDate(2024, 11, 17), QDate(2025, 1, 26)},
        .picture = "Pancakes.png",
        .ingredients = "# For the batter\n"
                       "200 g plain flour\n"
                       "2 tsp baking powder\n"
                       "1 tbsp sugar\n"
                       "a pinch of salt\n"
                       "2 eggs\n"
                       "300 ml milk\n"
                       "30 g butter, melted\n"
                       "# To serve\n"
                       "maple syrup, butter, blueberries",
        .instructions = "Mix flour, baking powder, sugar and salt in a large bowl.\n"
                        "Whisk the eggs, milk and melted butter in a jug, pour them into the "
                        "dry mix and stir *just until combined* – a few lumps are fine.\n"
                        "Let the batter rest for 10 minutes.\n"
                        "Heat the skillet over a medium flame and brush it with butter.\n"
                        "Pour in a small ladle of batter per pancake and turn it as soon as "
                        "bubbles show on top.\n"
                        "> Keep the finished pancakes warm in the oven at 60 °C while you fry "
                        "the rest.",
        .comments = "# Variations\n"
                    "Fold a handful of blueberries into the batter, or grated apple with a "
                    "little cinnamon.\n"
                    "~ Tip: buttermilk instead of milk makes them even lighter.",
    });

    list.append({
        .name = "Vegetable Curry",
        .categories = "Main dishes,Vegetarian,Hot and spicy,",
        .difficulty = 2,
        .prepTime = "45 minutes",
        .devices = "cooking pot,",
        .servings = "4",
        .lastCooked = QDate(2025, 2, 20),
        .picture = "Vegetable_Curry.png",
        .ingredients = "1 onion\n"
                       "2 cloves of garlic\n"
                       "1 thumb-sized piece of ginger\n"
                       "2 tbsp curry paste\n"
                       "1 small cauliflower\n"
                       "2 carrots\n"
                       "1 tin chickpeas\n"
                       "1 tin coconut milk\n"
                       "200 g frozen peas\n"
                       "1 lime\n"
                       "fresh coriander, rice to serve",
        .instructions = "# The base\n"
                        "Chop onion, garlic and ginger and soften them in a little oil.\n"
                        "Stir in the curry paste and fry it for another minute until it "
                        "smells fragrant.\n"
                        "# The vegetables\n"
                        "Add cauliflower florets, sliced carrots and the drained chickpeas.\n"
                        "Pour in the coconut milk and half a tin of water, cover and simmer "
                        "for *20 minutes*.\n"
                        "Add the peas for the last five minutes and season with salt and "
                        "lime juice.\n"
                        "> Scatter with coriander and serve with rice.",
        .comments = "Milder with _korma_ paste, hotter with a fresh green chilli.",
    });

    list.append({
        .name = "Cheese Fondue",
        .categories = "Main dishes,Party,Cheese,",
        .difficulty = 3,
        .prepTime = "30 minutes",
        .devices = "fondue,cooking pot,",
        .servings = "4",
        .lastCooked = QDate(2024, 12, 31),
        .cookedDates = {QDate(2023, 12, 31)},
        .picture = "Cheese_Fondue.png",
        .comments = "# Method\n"
                    "Rub the inside of the pot with the garlic, pour in the wine and heat "
                    "it on the hob.\n"
                    "Add the cheese by handfuls and stir in a figure of eight until it has "
                    "melted.\n"
                    "Stir in the cornflour with the kirsch, season with nutmeg and let it "
                    "bubble briefly.\n"
                    "Set the pot on its burner at the table and keep the flame low.\n"
                    "> Whoever loses their bread in the pot tells a story.",
        .columns = "1|clove|garlic|halved\n"
                   "300|ml|dry white wine|\n"
                   "400|g|Gruyère|coarsely grated\n"
                   "400|g|Emmental|coarsely grated\n"
                   "2|tsp|cornflour|mixed with the kirsch\n"
                   "2|tbsp|kirsch|\n"
                   "1|pinch|nutmeg|freshly grated\n"
                   "1||baguette|in cubes, each with some crust",
    });

    list.append({
        .name = "Belgian Waffles",
        .categories = "Baking,Breakfast,Sweet dishes,",
        .difficulty = 2,
        .prepTime = "1 hour, with rising",
        .devices = "waffle iron,mixer,",
        .servings = "6 waffles",
        .lastCooked = QDate(2025, 4, 6),
        .picture = "Belgian_Waffles.png",
        .comments = "# Method\n"
                    "Mix flour, yeast, sugar and salt, then beat in the milk, the yolks and "
                    "the butter.\n"
                    "Whisk the whites until stiff and fold them in; leave the batter to rise "
                    "for *30 minutes*.\n"
                    "Bake in the hot waffle iron until golden and crisp.\n"
                    "> Lovely with strawberries and whipped cream, or just icing sugar.",
        .columns = "250|g|plain flour|\n"
                   "1|sachet|dried yeast|\n"
                   "2|tbsp|sugar|\n"
                   "1|pinch|salt|\n"
                   "300|ml|milk|lukewarm\n"
                   "2||eggs|separated\n"
                   "100|g|butter|melted",
    });

    list.append({
        .name = "Crème Caramel",
        .categories = "Desserts,Classics,",
        .difficulty = 4,
        .prepTime = "1 hour 15 minutes, and a night in the fridge",
        .devices = "baking oven,water bath,refrigerator,",
        .servings = "6 ramekins",
        .lastCooked = QDate(2024, 9, 14),
        .comments = "# Method\n"
                    "Melt 150 g sugar with the water to a deep amber caramel and pour it "
                    "into six ramekins.\n"
                    "Heat the milk with the vanilla; whisk eggs, yolks and sugar and stir "
                    "in the hot milk.\n"
                    "Strain the custard into the ramekins and stand them in a roasting tin.\n"
                    "Pour hot water around them to half their height and bake at 150 °C for "
                    "about 40 minutes.\n"
                    "Chill overnight, then turn out onto plates.\n"
                    "> It is done when the middle still wobbles a little.",
        .columns = "150|g|sugar|for the caramel\n"
                   "3|tbsp|water|\n"
                   "500|ml|whole milk|\n"
                   "1||vanilla pod|split lengthways\n"
                   "3||eggs|\n"
                   "2||egg yolks|\n"
                   "75|g|sugar|for the custard",
    });

    list.append({
        .name = "Roast Chicken with Vegetables",
        .categories = "Main dishes,Meat,Sunday dinner,",
        .difficulty = 3,
        .prepTime = "1 hour 45 minutes",
        .devices = "baking oven,ovenproof dish,",
        .servings = "4",
        .lastCooked = QDate(2025, 1, 12),
        .ingredients = "1 chicken, about 1.5 kg\n"
                       "800 g small potatoes\n"
                       "4 carrots\n"
                       "2 red onions\n"
                       "1 lemon\n"
                       "4 sprigs of thyme\n"
                       "3 tbsp olive oil\n"
                       "salt and pepper",
        .instructions = "Heat the oven to 200 °C.\n"
                        "Halve the potatoes and carrots, cut the onions into wedges and toss "
                        "everything with oil in the ovenproof dish.\n"
                        "Rub the chicken with oil, salt and pepper and put the halved lemon "
                        "and the thyme inside.\n"
                        "Set the chicken on the vegetables and roast it for about 1 hour 20 "
                        "minutes, basting twice.\n"
                        "Let it rest for 10 minutes before carving.",
        .comments = "The juices run clear when it is done.",
        .book = "The Family Kitchen",
        .page = "112",
        .remark = "Our Sunday classic",
        .richText = false,
    });

    list.append({
        .name = "Grilled Vegetable Skewers",
        .categories = "Barbecue,Vegetarian,Summer,",
        .difficulty = 1,
        .prepTime = "30 minutes",
        .devices = "barbecue,",
        .servings = "8 skewers",
        .lastCooked = QDate(2024, 7, 27),
        .cookedDates = {QDate(2023, 8, 5), QDate(2024, 6, 22)},
        .ingredients = "1 courgette\n"
                       "1 red pepper\n"
                       "1 red onion\n"
                       "16 cherry tomatoes\n"
                       "250 g halloumi\n"
                       "4 tbsp olive oil\n"
                       "juice of half a lemon\n"
                       "1 clove of garlic, crushed\n"
                       "1 tsp dried oregano",
        .instructions = "Stir oil, lemon juice, garlic and oregano together.\n"
                        "Cut the vegetables and the halloumi into bite-sized pieces and thread "
                        "them onto skewers.\n"
                        "Brush the skewers with the marinade and leave them for 15 minutes.\n"
                        "Grill over medium heat for 8 to 10 minutes, turning often.",
        .comments = "Soak wooden skewers in water first so they do not burn.",
        .richText = false,
    });

    list.append({
        .name = "Berry Smoothie",
        .categories = "Drinks,Breakfast,Quick meals,",
        .difficulty = 1,
        .prepTime = "5 minutes",
        .devices = "juicer,mixer,refrigerator,",
        .servings = "2 glasses",
        .lastCooked = QDate(2025, 5, 2),
        .ingredients = "2 oranges\n"
                       "150 g frozen mixed berries\n"
                       "1 ripe banana\n"
                       "150 g natural yoghurt\n"
                       "1 tsp honey",
        .instructions = "Squeeze the oranges.\n"
                        "Put the juice and everything else into the mixer and blend until "
                        "smooth.\n"
                        "Pour into glasses from the fridge and drink at once.",
        .comments = "~ Frozen berries keep it cold without ice.",
    });

    list.append({
        .name = "Chocolate Mug Cake",
        .categories = "Sweet dishes,Quick meals,",
        .difficulty = 1,
        .prepTime = "5 minutes",
        .devices = "microwave,",
        .servings = "1 mug",
        .lastCooked = QDate(2025, 2, 14),
        .ingredients = "4 tbsp plain flour\n"
                       "3 tbsp sugar\n"
                       "2 tbsp cocoa powder\n"
                       "1/4 tsp baking powder\n"
                       "3 tbsp milk\n"
                       "2 tbsp sunflower oil\n"
                       "1 tbsp chocolate chips",
        .instructions = "Stir the dry ingredients together in a large mug.\n"
                        "Add milk and oil and mix until no flour is left; drop in the "
                        "chocolate chips.\n"
                        "Microwave at full power for *70 to 90 seconds*.\n"
                        "> It rises high and sinks a little: that is how it should be.",
        .magazine = "Quick Kitchen 3/2024",
        .page = "58",
        .remark = "From the magazine, slightly changed",
    });

    list.append({
        .name = "Toasted Ham and Cheese Sandwich",
        .categories = "Snacks,Quick meals,",
        .difficulty = 1,
        .prepTime = "10 minutes",
        .devices = "sandwich maker,skillet,",
        .servings = "2",
        .lastCooked = QDate(2025, 4, 28),
        .ingredients = "4 slices of bread\n"
                       "2 slices of cooked ham\n"
                       "100 g Cheddar, grated\n"
                       "butter for the outside",
        .instructions = "Butter the bread on one side.\n"
                        "Lay ham and cheese on the unbuttered side of two slices and top "
                        "them with the other two, buttered side out.\n"
                        "Toast in the sandwich maker for about 4 minutes; without one, fry "
                        "them in the skillet and press them down with a lid.\n"
                        "~ A thin layer of mustard inside does wonders.",
    });

    list.append({
        .name = "Raclette Evening",
        .categories = "Party,Cheese,Winter,",
        .difficulty = 1,
        .devices = "raclette set,",
        .servings = "8",
        .lastCooked = QDate(2025, 1, 3),
        .binder = "Party food (green binder)",
        .page = "3",
        .remark = "Amounts and shopping list for eight guests",
        .richText = false,
    });

    list.append({
        .name = "Fish and Chips",
        .categories = "Main dishes,Fish,",
        .difficulty = 4,
        .devices = "deep fryer,",
        .servings = "4",
        .lastCooked = QDate(2024, 10, 18),
        .book = "Pub Classics at Home",
        .page = "45",
        .remark = "Beer batter; fry the chips twice",
        .richText = false,
    });

    list.append({
        .name = "Potato Gratin",
        .categories = "Side dishes,Vegetarian,",
        .difficulty = 2,
        .devices = "baking dish,",
        .servings = "6",
        .lastCooked = QDate(2024, 12, 24),
        .magazine = "Good Food Weekly 11/2022",
        .page = "19",
        .remark = "Creamy, with a hint of nutmeg",
        .richText = false,
    });

    return list;
}

} // namespace

const QList<DemoRecipe>& demoRecipes()
{
    static const QList<DemoRecipe> recipes = makeRecipes();
    return recipes;
}

} // namespace demo
