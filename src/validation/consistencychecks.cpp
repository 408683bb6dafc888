#include "validation/consistencychecks.h"

#include "core/wdlwizard.h"

void ConsistencyChecks::checkMetaInformation()
{
}

void ConsistencyChecks::checkMissingItems()
{
}

void ConsistencyChecks::checkUnusedItems()
{
}
