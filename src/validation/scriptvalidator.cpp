#include "validation/scriptvalidator.h"

#include "core/wdlwizard.h"

void ScriptValidator::validateScripts()
{
}
