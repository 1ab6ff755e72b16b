// Must compile with the plug-in's flags: the forms the engine wants, so the failure beside it is meaningful.
#include "Dom/JsonObject.h"

void SetFields(FJsonObject& Object, const FString& Key)
{
	Object.SetStringField(TEXT("name"), TEXT("value"));
	Object.SetStringField(Key, FString(TEXT("value")));
	Object.SetNumberField(FStringView(Key), 1.0);
}
