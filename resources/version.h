// The program's version, shown in the executable's version information.
#pragma once

#define NENGA_VERSION_MAJOR 1
#define NENGA_VERSION_MINOR 0
#define NENGA_VERSION_PATCH 0

#define NENGA_STRINGIFY_(x) #x
#define NENGA_STRINGIFY(x) NENGA_STRINGIFY_(x)
#define NENGA_VERSION_STRING          \
  NENGA_STRINGIFY(NENGA_VERSION_MAJOR) \
  "." NENGA_STRINGIFY(NENGA_VERSION_MINOR) "." NENGA_STRINGIFY(NENGA_VERSION_PATCH)
