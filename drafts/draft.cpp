// SPDX-License-Identifier: GPL-2.0-or-later

#include "drafts/draft.h"

TDruckvorlage& CurrentDraft()
{
    static TDruckvorlage draft;
    return draft;
}
