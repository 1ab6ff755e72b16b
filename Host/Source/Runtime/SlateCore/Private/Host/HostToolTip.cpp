// Copyright Quarn. All Rights Reserved.

#include "Host/HostToolTip.h"

namespace
{
	// Without RTTI, a tooltip is known to be a text tooltip by being one of the live ones.
	TSet<const IToolTip*>& LiveTextToolTips()
	{
		static TSet<const IToolTip*> Live;
		return Live;
	}
}

SHostTextToolTip::SHostTextToolTip()
{
	LiveTextToolTips().Add(static_cast<const IToolTip*>(this));
}

SHostTextToolTip::~SHostTextToolTip()
{
	LiveTextToolTips().Remove(static_cast<const IToolTip*>(this));
}

const SHostTextToolTip* SHostTextToolTip::Find(const IToolTip* ToolTip)
{
	if (ToolTip && LiveTextToolTips().Contains(ToolTip))
	{
		return static_cast<const SHostTextToolTip*>(ToolTip);
	}
	return nullptr;
}
