#pragma once

#include "TokenReader.h"

namespace HeaderTool
{
	// Reads a type up to (not including) the declared name. Throws FParseError on malformed types.
	FType ParseType(FTokenReader& Reader, bool bTemplateArgument = false);
}
