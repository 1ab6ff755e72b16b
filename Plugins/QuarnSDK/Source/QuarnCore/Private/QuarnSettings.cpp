// Copyright Quarn. All Rights Reserved.

#include "QuarnSettings.h"
#include "Engine/DataTable.h"

const UQuarnSettings* UQuarnSettings::Get()
{
	return GetDefault<UQuarnSettings>();
}

FName UQuarnSettings::GetCategoryName() const
{
	return FName(TEXT("Plugins"));
}
