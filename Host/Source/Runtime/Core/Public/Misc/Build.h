// Copyright Quarn. All Rights Reserved.

#pragma once

// The build configuration as the build tool sets it (one UE_BUILD_* and the target type), and the
// options that follow from it where the build leaves them unset, as the engine's Misc/Build.h
// decides them: checks and ensures only outside Test and Shipping unless a target keeps them, no
// log in Test and Shipping unless a target keeps it, the automation worker outside Shipping.

// A source compiled on its own, outside a module (the headers' compile checks), gets the
// configuration of a development build.
#if !defined(UE_BUILD_DEBUG) && !defined(UE_BUILD_DEVELOPMENT) && !defined(UE_BUILD_TEST) && !defined(UE_BUILD_SHIPPING)
	#define UE_BUILD_DEVELOPMENT 1
#endif
#ifndef UE_BUILD_DEBUG
	#define UE_BUILD_DEBUG 0
#endif
#ifndef UE_BUILD_DEVELOPMENT
	#define UE_BUILD_DEVELOPMENT 0
#endif
#ifndef UE_BUILD_TEST
	#define UE_BUILD_TEST 0
#endif
#ifndef UE_BUILD_SHIPPING
	#define UE_BUILD_SHIPPING 0
#endif
#ifndef UE_GAME
	#define UE_GAME 0
#endif
#ifndef UE_CLIENT
	#define UE_CLIENT 0
#endif
#ifndef UE_EDITOR
	#define UE_EDITOR 0
#endif
#ifndef UE_SERVER
	#define UE_SERVER 0
#endif

#if UE_BUILD_DEBUG + UE_BUILD_DEVELOPMENT + UE_BUILD_TEST + UE_BUILD_SHIPPING != 1
	#error Exactly one of [UE_BUILD_DEBUG UE_BUILD_DEVELOPMENT UE_BUILD_TEST UE_BUILD_SHIPPING] should be defined to be 1
#endif

#ifndef WITH_EDITOR
	#define WITH_EDITOR 0
#endif
#ifndef WITH_EDITORONLY_DATA
	#define WITH_EDITORONLY_DATA WITH_EDITOR
#endif
#ifndef WITH_SERVER_CODE
	#define WITH_SERVER_CODE 1
#endif

#ifndef WITH_AUTOMATION_WORKER
	#define WITH_AUTOMATION_WORKER !UE_BUILD_SHIPPING
#endif

#ifndef USE_LOGGING_IN_SHIPPING
	#define USE_LOGGING_IN_SHIPPING 0
#endif
#ifndef USE_CHECKS_IN_SHIPPING
	#define USE_CHECKS_IN_SHIPPING 0
#endif
#ifndef USE_ENSURES_IN_SHIPPING
	#define USE_ENSURES_IN_SHIPPING USE_CHECKS_IN_SHIPPING
#endif
#ifndef ALLOW_CONSOLE_IN_SHIPPING
	#define ALLOW_CONSOLE_IN_SHIPPING 0
#endif

#if UE_BUILD_DEBUG
	#ifndef DO_GUARD_SLOW
		#define DO_GUARD_SLOW 1
	#endif
	#ifndef DO_CHECK
		#define DO_CHECK 1
	#endif
	#ifndef DO_ENSURE
		#define DO_ENSURE 1
	#endif
	#ifndef ALLOW_CONSOLE
		#define ALLOW_CONSOLE 1
	#endif
	#ifndef NO_LOGGING
		#define NO_LOGGING 0
	#endif
#elif UE_BUILD_DEVELOPMENT
	#ifndef DO_GUARD_SLOW
		#define DO_GUARD_SLOW 0
	#endif
	#ifndef DO_CHECK
		#define DO_CHECK 1
	#endif
	#ifndef DO_ENSURE
		#define DO_ENSURE 1
	#endif
	#ifndef ALLOW_CONSOLE
		#define ALLOW_CONSOLE 1
	#endif
	#ifndef NO_LOGGING
		#define NO_LOGGING 0
	#endif
#elif UE_BUILD_TEST
	#ifndef DO_GUARD_SLOW
		#define DO_GUARD_SLOW 0
	#endif
	#ifndef DO_CHECK
		#define DO_CHECK USE_CHECKS_IN_SHIPPING
	#endif
	#ifndef DO_ENSURE
		#define DO_ENSURE USE_ENSURES_IN_SHIPPING
	#endif
	#ifndef ALLOW_CONSOLE
		#define ALLOW_CONSOLE 1
	#endif
	#ifndef NO_LOGGING
		#define NO_LOGGING !USE_LOGGING_IN_SHIPPING
	#endif
#else // UE_BUILD_SHIPPING
	#ifndef DO_GUARD_SLOW
		#define DO_GUARD_SLOW 0
	#endif
	#ifndef DO_CHECK
		#define DO_CHECK USE_CHECKS_IN_SHIPPING
	#endif
	#ifndef DO_ENSURE
		#define DO_ENSURE USE_ENSURES_IN_SHIPPING
	#endif
	#ifndef ALLOW_CONSOLE
		#define ALLOW_CONSOLE ALLOW_CONSOLE_IN_SHIPPING
	#endif
	#ifndef NO_LOGGING
		#define NO_LOGGING !USE_LOGGING_IN_SHIPPING
	#endif
#endif
