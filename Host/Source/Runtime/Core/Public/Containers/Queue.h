// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Templates/UnrealTemplate.h"
#include <atomic>

enum class EQueueMode
{
	// Multiple producers, single consumer.
	Mpsc,
	// Single producer, single consumer.
	Spsc,
	// Single threaded use.
	SingleThreaded,
};

// An unbounded lock-free queue of linked nodes (one consumer; producers as the mode says).
template <typename T, EQueueMode Mode = EQueueMode::Spsc>
class TQueue
{
public:
	using FElementType = T;

	TQueue()
	{
		FNode* Stub = new FNode();
		Head.store(Stub, std::memory_order_relaxed);
		Tail = Stub;
	}

	TQueue(const TQueue&) = delete;
	TQueue& operator=(const TQueue&) = delete;

	~TQueue()
	{
		while (Tail != nullptr)
		{
			FNode* Node = Tail;
			Tail = Tail->NextNode.load(std::memory_order_relaxed);
			delete Node;
		}
	}

	bool Dequeue(FElementType& OutItem)
	{
		FNode* Popped = Tail->NextNode.load(std::memory_order_acquire);
		if (Popped == nullptr)
		{
			return false;
		}
		OutItem = MoveTemp(Popped->Item);
		FNode* OldTail = Tail;
		Tail = Popped;
		Tail->Item = FElementType();
		delete OldTail;
		return true;
	}

	void Empty()
	{
		FElementType Dummy;
		while (Dequeue(Dummy))
		{
		}
	}

	bool Enqueue(const FElementType& Item) { return EnqueueNode(new FNode(Item)); }
	bool Enqueue(FElementType&& Item) { return EnqueueNode(new FNode(MoveTemp(Item))); }

	bool IsEmpty() const { return Tail->NextNode.load(std::memory_order_acquire) == nullptr; }

	bool Peek(FElementType& OutItem) const
	{
		FNode* Next = Tail->NextNode.load(std::memory_order_acquire);
		if (Next == nullptr)
		{
			return false;
		}
		OutItem = Next->Item;
		return true;
	}

	FElementType* Peek()
	{
		FNode* Next = Tail->NextNode.load(std::memory_order_acquire);
		return Next ? &Next->Item : nullptr;
	}
	const FElementType* Peek() const { return const_cast<TQueue*>(this)->Peek(); }

	bool Pop()
	{
		FNode* Popped = Tail->NextNode.load(std::memory_order_acquire);
		if (Popped == nullptr)
		{
			return false;
		}
		FNode* OldTail = Tail;
		Tail = Popped;
		Tail->Item = FElementType();
		delete OldTail;
		return true;
	}

private:
	struct FNode
	{
		std::atomic<FNode*> NextNode{ nullptr };
		FElementType Item;

		FNode() : Item() {}
		explicit FNode(const FElementType& InItem) : Item(InItem) {}
		explicit FNode(FElementType&& InItem) : Item(MoveTemp(InItem)) {}
	};

	bool EnqueueNode(FNode* NewNode)
	{
		// Producers swap themselves in as the head, then link the previous head to the new node.
		FNode* OldHead = Head.exchange(NewNode, std::memory_order_acq_rel);
		OldHead->NextNode.store(NewNode, std::memory_order_release);
		return true;
	}

	alignas(64) std::atomic<FNode*> Head;
	alignas(64) FNode* Tail;
};
