#include "bench/ProcessCpu.h"

#include <filesystem>
#include <fstream>
#include <string>

std::chrono::nanoseconds ProcessCpu(pid_t pid) {
    std::chrono::nanoseconds total{0};
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        long long runNs = 0;
        if (schedstat >> runNs) total += std::chrono::nanoseconds(runNs);
    }
    return total;
}
