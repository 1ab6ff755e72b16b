// Compiled once per target configuration by CMakeLists.txt (ACCESSOR_CASE picks the use): what the
// engine declares only where a target keeps metadata or editor-only data must not compile elsewhere.
#include "UObject/Class.h"
#include "UObject/Field.h"

#if ACCESSOR_CASE == 1
// Metadata of a reflected type: only where the target keeps metadata.
FString ReadTypeMetaData(const UField* Field)
{
	return Field->GetMetaData(TEXT("ToolTip"));
}
#elif ACCESSOR_CASE == 2
// Metadata of a property: likewise.
bool PropertyHasMetaData(const FField* Field)
{
	return Field->HasMetaData(TEXT("Category"));
}
#elif ACCESSOR_CASE == 3
// Tool tips are editor-only data: metadata alone does not bring them.
FText ReadToolTip(const UField* Field)
{
	return Field->GetToolTipText();
}
#elif ACCESSOR_CASE == 4
// An enum entry's metadata: only where the target keeps metadata.
bool EntryHasMetaData(const UEnum* Enum)
{
	return Enum->HasMetaData(TEXT("DisplayName"), 0);
}
#else
	#error ACCESSOR_CASE is set by the test
#endif
