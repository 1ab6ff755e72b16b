// Must not compile with the plug-in's flags: a narrow literal key picks the overload 5.8 deprecates,
// and deprecation warnings are errors in this build.
#include "Dom/JsonObject.h"

void SetField(FJsonObject& Object)
{
	Object.SetStringField("name", TEXT("value"));
}
