#include "runtime/embedded_resource.h"

#include "runtime/exception.h"
#include "runtime/message_format.h"

namespace nitko {

std::string_view FindResource(std::string_view name) {
  for (const EmbeddedResource& r : EmbeddedResources())
    if (name == r.name) return {reinterpret_cast<const char*>(r.data), r.size};
  throw Exception(FormatMessage("Resource %s not found", {name}));
}

}  // namespace nitko
