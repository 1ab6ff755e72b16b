// Copyright Quarn. All Rights Reserved.

#pragma once

class UObject;
struct FWeakObjectPtr;

template <class T = UObject, class TWeakObjectPtrBase = FWeakObjectPtr>
struct TWeakObjectPtr;
