// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

// Names registered before any other, each at its own fixed index.
#define UE_FOR_EACH_HARDCODED_NAME(Op) \
	Op(None, 0) \
	Op(ByteProperty, 1) \
	Op(IntProperty, 2) \
	Op(BoolProperty, 3) \
	Op(FloatProperty, 4) \
	Op(ObjectProperty, 5) \
	Op(NameProperty, 6) \
	Op(DelegateProperty, 7) \
	Op(DoubleProperty, 8) \
	Op(ArrayProperty, 9) \
	Op(StructProperty, 10) \
	Op(StrProperty, 11) \
	Op(TextProperty, 12) \
	Op(InterfaceProperty, 13) \
	Op(MulticastDelegateProperty, 14) \
	Op(WeakObjectProperty, 15) \
	Op(LazyObjectProperty, 16) \
	Op(SoftObjectProperty, 17) \
	Op(UInt64Property, 18) \
	Op(UInt32Property, 19) \
	Op(UInt16Property, 20) \
	Op(Int64Property, 21) \
	Op(Int16Property, 22) \
	Op(Int8Property, 23) \
	Op(MapProperty, 24) \
	Op(SetProperty, 25) \
	Op(EnumProperty, 26) \
	Op(ClassProperty, 27) \
	Op(SoftClassProperty, 28) \
	Op(Core, 30) \
	Op(Engine, 31) \
	Op(Editor, 32) \
	Op(CoreUObject, 33) \
	Op(Class, 40) \
	Op(Package, 41) \
	Op(Object, 42) \
	Op(Function, 43) \
	Op(Struct, 44) \
	Op(ScriptStruct, 45) \
	Op(Enum, 46) \
	Op(Name, 47) \
	Op(Vector2D, 48) \
	Op(LinearColor, 49) \
	Op(Color, 50) \
	Op(Guid, 51) \
	Op(IntPoint, 52) \
	Op(Actor, 53) \
	Op(Default, 54) \
	Op(Game, 55) \
	Op(Init, 56) \
	Op(Exit, 57) \
	Op(Cmd, 58) \
	Op(Log, 59) \
	Op(Transient, 60) \
	Op(Self, 61) \
	Op(Property, 62) \
	Op(Int, 63) \
	Op(Float, 64) \
	Op(Double, 65) \
	Op(Bool, 66) \
	Op(Byte, 67) \
	Op(String, 68) \
	Op(Text, 69) \
	Op(Array, 70) \
	Op(Map, 71) \
	Op(Set, 72)

// A scoped enum, as the engine declares it, with the old-style NAME_ aliases beside it.
#define UE_DECLARE_ENAME(Name, Index) Name = Index,
enum class EName : uint32
{
	UE_FOR_EACH_HARDCODED_NAME(UE_DECLARE_ENAME)
	MaxHardcodedNameIndex = 73,
};
#undef UE_DECLARE_ENAME
#define UE_DECLARE_ENAME_ALIAS(Name, Index) inline constexpr EName NAME_##Name = EName::Name;
UE_FOR_EACH_HARDCODED_NAME(UE_DECLARE_ENAME_ALIAS)
#undef UE_DECLARE_ENAME_ALIAS
