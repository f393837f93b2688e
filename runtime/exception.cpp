#include "runtime/exception.h"

#include "runtime/message_format.h"

namespace nitko {

void RaiseListError(long long index) { throw EListError(FormatMessage(SListIndexError, {index})); }

}  // namespace nitko
