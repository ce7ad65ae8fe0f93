#include "drafts/draft.h"

TDruckvorlage& CurrentDraft()
{
    static TDruckvorlage draft;
    return draft;
}
