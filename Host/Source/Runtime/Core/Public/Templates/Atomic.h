// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include <atomic>

template <typename T>
class TAtomic
{
public:
	constexpr TAtomic() : Element() {}
	constexpr TAtomic(T Value) : Element(Value) {}
	TAtomic(const TAtomic&) = delete;
	TAtomic& operator=(const TAtomic&) = delete;

	operator T() const { return Element.load(); }
	T operator=(T Value)
	{
		Element.store(Value);
		return Value;
	}
	T Load(std::memory_order Order = std::memory_order_seq_cst) const { return Element.load(Order); }
	void Store(T Value, std::memory_order Order = std::memory_order_seq_cst) { Element.store(Value, Order); }
	T Exchange(T Value) { return Element.exchange(Value); }
	bool CompareExchange(T& Expected, T Value) { return Element.compare_exchange_strong(Expected, Value); }
	T operator++() { return ++Element; }
	T operator++(int) { return Element++; }
	T operator--() { return --Element; }
	T operator--(int) { return Element--; }
	T operator+=(T Value) { return Element += Value; }
	T operator-=(T Value) { return Element -= Value; }

private:
	std::atomic<T> Element;
};
