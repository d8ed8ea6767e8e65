#include "FileSystem.h"

namespace vesko {

FileError fileErrorFrom(std::error_code cause) {
    if (!cause) {
        return {};
    }
    using std::errc;
    if (cause == errc::file_exists || cause == errc::directory_not_empty ||
        cause == errc::not_a_directory) {
        return {FileProblem::nameTaken, cause};
    }
    if (cause == errc::permission_denied || cause == errc::operation_not_permitted ||
        cause == errc::read_only_file_system) {
        return {FileProblem::notWritable, cause};
    }
    if (cause == errc::no_such_file_or_directory) {
        return {FileProblem::missing, cause};
    }
    return {FileProblem::other, cause};
}

}  // namespace vesko
