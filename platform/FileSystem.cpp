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

namespace vesko {

GroupMove FileSystem::moveGroup(std::span<const PlannedMove> group) {
    GroupMove result;
    std::vector<std::size_t> moved;
    for (std::size_t i = 0; i < group.size(); ++i) {
        FileError error = move(group[i].from, group[i].to);
        if (!error) {
            moved.push_back(i);
        } else if (error.problem == FileProblem::missing && group[i].skipIfMissing) {
            result.skipped.push_back(i);
        } else {
            result.error = std::move(error);
            result.blocker = i;
            break;
        }
    }
    if (!result.error) {
        return result;
    }
    result.skipped.clear();
    for (auto it = moved.rbegin(); it != moved.rend(); ++it) {
        if (move(group[*it].to, group[*it].from)) {
            result.stranded.push_back(*it);
        }
    }
    return result;
}

}  // namespace vesko
