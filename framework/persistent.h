#pragma once

namespace nitko {

// Base of every object with published properties.
class TPersistent {
 public:
  virtual ~TPersistent() = default;
};

}  // namespace nitko
