#pragma once

#include "db/Vocabulary.h"

// What the member views share.
namespace members {

// The two kinds of scheme: the grant is a number of days, or a number of discs.
using vocab::countScheme;
using vocab::dayScheme;

}  // namespace members
