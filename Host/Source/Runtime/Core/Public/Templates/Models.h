// Copyright Quarn. All Rights Reserved.

#pragma once

// Whether the argument types model a concept: a type with a member template Requires whose
// declaration is well-formed for them.
template <typename Concept, typename... Args>
inline constexpr bool TModels_V = requires(Concept InConcept, Args&... InArgs) { InConcept.template Requires<Args...>(InArgs...); };

template <typename Concept, typename... Args>
struct TModels
{
	static constexpr bool Value = TModels_V<Concept, Args...>;
};
