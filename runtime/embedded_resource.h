#pragma once

#include <span>
#include <string_view>

namespace nitko {

// One file of resources/, embedded into the binary at build time.
struct EmbeddedResource {
  const char* name;
  const unsigned char* data;
  unsigned long size;
};

// The table generated from resources/ (defined by the resources library).
std::span<const EmbeddedResource> EmbeddedResources();

// The bytes of the named resource; raises Exception when there is none.
std::string_view FindResource(std::string_view name);

}  // namespace nitko
