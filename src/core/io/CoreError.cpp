#include "core/io/CoreError.h"

#include "core/text/Messages.h"

namespace starfall {

CoreError::CoreError(Failure failure, std::string path, Position position, std::string detail)
    : std::runtime_error(messageFor(failure, path, position, detail).text), m_failure(failure),
      m_path(std::move(path)), m_position(position), m_detail(std::move(detail)) {}

bool CoreError::endsProgram() const {
    return m_failure == Failure::ImageOpenForLoad || m_failure == Failure::ListFileMissing;
}

} // namespace starfall
