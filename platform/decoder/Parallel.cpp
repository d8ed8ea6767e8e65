#include "platform/decoder/Parallel.h"

#include <exception>
#include <system_error>
#include <thread>

namespace vesko::decoder {

void inParallel(const std::function<void()>& first, const std::function<void()>& second) {
    std::exception_ptr secondFailed;
    const auto runSecond = [&] {
        try {
            second();
        } catch (...) {
            secondFailed = std::current_exception();
        }
    };
    std::thread worker;
    try {
        worker = std::thread(runSecond);
    } catch (const std::system_error&) {
        runSecond();
    }
    std::exception_ptr firstFailed;
    try {
        first();
    } catch (...) {
        firstFailed = std::current_exception();
    }
    if (worker.joinable()) worker.join();
    if (firstFailed) std::rethrow_exception(firstFailed);
    if (secondFailed) std::rethrow_exception(secondFailed);
}

}  // namespace vesko::decoder
