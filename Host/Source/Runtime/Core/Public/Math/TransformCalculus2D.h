// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Math/Vector2D.h"

// 2D transforms as Slate uses them: points are row vectors (P' = P * M + T). Everything is computed
// in the transform's own precision, step by step, so float transforms round as the engine's do.

template <typename T>
class TScale2
{
public:
	using FReal = T;
	using Vector2Type = UE::Math::TVector2<T>;

	TScale2() : Scale(1, 1) {}
	explicit TScale2(T InScale) : Scale(InScale, InScale) {}
	explicit TScale2(T InScaleX, T InScaleY) : Scale(InScaleX, InScaleY) {}
	explicit TScale2(const Vector2Type& InScale) : Scale(InScale) {}

	Vector2Type TransformPoint(const Vector2Type& Point) const { return Scale * Point; }
	Vector2Type TransformVector(const Vector2Type& Vector) const { return TransformPoint(Vector); }
	TScale2 Concatenate(const TScale2& RHS) const { return TScale2(Scale * RHS.Scale); }
	TScale2 Inverse() const { return TScale2(Vector2Type((T)1 / Scale.X, (T)1 / Scale.Y)); }
	bool operator==(const TScale2& Other) const { return Scale == Other.Scale; }
	bool operator!=(const TScale2& Other) const { return !(*this == Other); }
	const Vector2Type& GetVector() const { return Scale; }

private:
	Vector2Type Scale;
};

template <typename T>
class TMatrix2x2
{
public:
	using FReal = T;
	using Vector2Type = UE::Math::TVector2<T>;

	TMatrix2x2()
	{
		M[0][0] = 1;
		M[0][1] = 0;
		M[1][0] = 0;
		M[1][1] = 1;
	}
	TMatrix2x2(T m00, T m01, T m10, T m11)
	{
		M[0][0] = m00;
		M[0][1] = m01;
		M[1][0] = m10;
		M[1][1] = m11;
	}
	explicit TMatrix2x2(T UniformScale)
	{
		M[0][0] = UniformScale;
		M[0][1] = 0;
		M[1][0] = 0;
		M[1][1] = UniformScale;
	}
	explicit TMatrix2x2(const TScale2<T>& Scale)
	{
		M[0][0] = Scale.GetVector().X;
		M[0][1] = 0;
		M[1][0] = 0;
		M[1][1] = Scale.GetVector().Y;
	}
	template <typename OtherT, std::enable_if_t<!std::is_same_v<T, OtherT>>* = nullptr>
	explicit TMatrix2x2(const TMatrix2x2<OtherT>& Other)
	{
		T A, B, C, D;
		Other.GetMatrix(A, B, C, D);
		M[0][0] = A;
		M[0][1] = B;
		M[1][0] = C;
		M[1][1] = D;
	}

	Vector2Type TransformPoint(const Vector2Type& Point) const
	{
		return Vector2Type(Point.X * M[0][0] + Point.Y * M[1][0], Point.X * M[0][1] + Point.Y * M[1][1]);
	}
	Vector2Type TransformVector(const Vector2Type& Vector) const { return TransformPoint(Vector); }

	TMatrix2x2 Concatenate(const TMatrix2x2& RHS) const
	{
		T A, B, C, D;
		GetMatrix(A, B, C, D);
		T E, F, G, H;
		RHS.GetMatrix(E, F, G, H);
		return TMatrix2x2(A * E + B * G, A * F + B * H, C * E + D * G, C * F + D * H);
	}

	bool operator==(const TMatrix2x2& RHS) const
	{
		return M[0][0] == RHS.M[0][0] && M[0][1] == RHS.M[0][1] && M[1][0] == RHS.M[1][0] && M[1][1] == RHS.M[1][1];
	}
	bool operator!=(const TMatrix2x2& Other) const { return !(*this == Other); }

	template <typename OutT>
	void GetMatrix(OutT& A, OutT& B, OutT& C, OutT& D) const
	{
		A = (OutT)M[0][0];
		B = (OutT)M[0][1];
		C = (OutT)M[1][0];
		D = (OutT)M[1][1];
	}

	T Determinant() const
	{
		T A, B, C, D;
		GetMatrix(A, B, C, D);
		return (A * D - B * C);
	}

	T InverseDeterminant() const
	{
		const T Det = Determinant();
		return (T)1 / Det;
	}

	// The adjugate scaled by the inverse determinant, each product rounded in T.
	TMatrix2x2 Inverse() const
	{
		T A, B, C, D;
		GetMatrix(A, B, C, D);
		const T InvDet = InverseDeterminant();
		return TMatrix2x2(D * InvDet, -B * InvDet, -C * InvDet, A * InvDet);
	}

	bool IsNearlyEqual(const TMatrix2x2& Other, T Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::IsNearlyEqual(M[0][0], Other.M[0][0], Tolerance) && FMath::IsNearlyEqual(M[0][1], Other.M[0][1], Tolerance) && FMath::IsNearlyEqual(M[1][0], Other.M[1][0], Tolerance) && FMath::IsNearlyEqual(M[1][1], Other.M[1][1], Tolerance);
	}

	TScale2<T> GetScale() const
	{
		T A, B, C, D;
		GetMatrix(A, B, C, D);
		return TScale2<T>(FMath::Sqrt(A * A + B * B), FMath::Sqrt(C * C + D * D));
	}

	Vector2Type GetScaleSquared() const
	{
		T A, B, C, D;
		GetMatrix(A, B, C, D);
		return Vector2Type(A * A + B * B, C * C + D * D);
	}

	bool IsIdentity() const { return M[0][0] == 1 && M[0][1] == 0 && M[1][0] == 0 && M[1][1] == 1; }

private:
	T M[2][2];
};

template <typename T>
class TTransform2
{
public:
	using FReal = T;
	using Vector2Type = UE::Math::TVector2<T>;
	using Matrix2x2Type = TMatrix2x2<T>;

	TTransform2(const Vector2Type& Translation = Vector2Type(0, 0)) : M(Matrix2x2Type()), Trans(Translation) {}
	explicit TTransform2(T UniformScale, const Vector2Type& Translation = Vector2Type(0, 0)) : M(Matrix2x2Type(UniformScale)), Trans(Translation) {}
	explicit TTransform2(const TScale2<T>& Scale, const Vector2Type& Translation = Vector2Type(0, 0)) : M(Matrix2x2Type(Scale)), Trans(Translation) {}
	explicit TTransform2(const Matrix2x2Type& Transform, const Vector2Type& Translation = Vector2Type(0, 0)) : M(Transform), Trans(Translation) {}
	template <typename OtherT, std::enable_if_t<!std::is_same_v<T, OtherT>>* = nullptr>
	explicit TTransform2(const TTransform2<OtherT>& Other) : M(Matrix2x2Type(Other.GetMatrix())), Trans(Vector2Type(Other.GetTranslation()))
	{
	}

	Vector2Type TransformPoint(const Vector2Type& Point) const { return M.TransformPoint(Point) + Trans; }
	Vector2Type TransformVector(const Vector2Type& Vector) const { return M.TransformVector(Vector); }

	// This transform, then RHS.
	TTransform2 Concatenate(const TTransform2& RHS) const
	{
		return TTransform2(M.Concatenate(RHS.M), RHS.M.TransformPoint(Trans) + RHS.Trans);
	}

	TTransform2 Inverse() const
	{
		const Matrix2x2Type InvM = M.Inverse();
		const Vector2Type InvTrans = InvM.TransformPoint(-Trans);
		return TTransform2(InvM, InvTrans);
	}

	bool operator==(const TTransform2& Other) const { return M == Other.M && Trans == Other.Trans; }
	bool operator!=(const TTransform2& Other) const { return !(*this == Other); }

	const Matrix2x2Type& GetMatrix() const { return M; }
	const Vector2Type& GetTranslation() const { return Trans; }
	void SetTranslation(const Vector2Type& InTrans) { Trans = InTrans; }
	bool IsIdentity() const { return M.IsIdentity() && Trans == Vector2Type(0, 0); }

private:
	Matrix2x2Type M;
	Vector2Type Trans;
};

using FScale2f = TScale2<float>;
using FScale2d = TScale2<double>;
using FScale2D = FScale2f;
using FMatrix2x2f = TMatrix2x2<float>;
using FMatrix2x2d = TMatrix2x2<double>;
using FMatrix2x2 = FMatrix2x2f;
using FTransform2f = TTransform2<float>;
using FTransform2d = TTransform2<double>;
using FTransform2D = FTransform2f;

// The generic transform calculus: scalars are uniform scales, vectors are translations.
template <typename TransformType>
inline auto Inverse(const TransformType& Transform) -> decltype(Transform.Inverse()) { return Transform.Inverse(); }
inline float Inverse(float Scale) { return 1.0f / Scale; }
inline double Inverse(double Scale) { return 1.0 / Scale; }
template <typename T>
inline UE::Math::TVector2<T> Inverse(const UE::Math::TVector2<T>& Transform) { return -Transform; }

template <typename TransformTypeA, typename TransformTypeB>
inline auto Concatenate(const TransformTypeA& LHS, const TransformTypeB& RHS) -> decltype(LHS.Concatenate(RHS)) { return LHS.Concatenate(RHS); }
inline float Concatenate(float LHS, float RHS) { return LHS * RHS; }
inline double Concatenate(double LHS, double RHS) { return LHS * RHS; }
template <typename T>
inline UE::Math::TVector2<T> Concatenate(const UE::Math::TVector2<T>& LHS, const UE::Math::TVector2<T>& RHS) { return LHS + RHS; }
template <typename TransformTypeA, typename TransformTypeB, typename TransformTypeC>
inline auto Concatenate(const TransformTypeA& TransformA, const TransformTypeB& TransformB, const TransformTypeC& TransformC)
{
	return Concatenate(Concatenate(TransformA, TransformB), TransformC);
}

template <typename TransformType, typename T>
inline auto TransformPoint(const TransformType& Transform, const UE::Math::TVector2<T>& Point) -> decltype(Transform.TransformPoint(Point)) { return Transform.TransformPoint(Point); }
template <typename T>
inline UE::Math::TVector2<T> TransformPoint(float Transform, const UE::Math::TVector2<T>& Point) { return Point * Transform; }
template <typename T>
inline UE::Math::TVector2<T> TransformPoint(const UE::Math::TVector2<T>& Transform, const UE::Math::TVector2<T>& Point) { return Transform + Point; }
template <typename TransformType, typename T>
inline auto TransformVector(const TransformType& Transform, const UE::Math::TVector2<T>& Vector) -> decltype(Transform.TransformVector(Vector)) { return Transform.TransformVector(Vector); }
template <typename T>
inline UE::Math::TVector2<T> TransformVector(float Transform, const UE::Math::TVector2<T>& Vector) { return Vector * Transform; }
template <typename T>
inline const UE::Math::TVector2<T>& TransformVector(const UE::Math::TVector2<T>& Transform, const UE::Math::TVector2<T>& Vector) { return Vector; }
