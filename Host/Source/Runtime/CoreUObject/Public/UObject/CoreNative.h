#pragma once

#include "UObject/Script.h"
