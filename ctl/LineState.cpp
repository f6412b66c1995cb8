#include "ctl/LineState.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ctl/ModuleRecord.h"

namespace tarnel::ctl {

std::string LineState::Open(const std::string& path) {
    m_path = path;
    bool busy = false;
    if (const std::error_code error = m_lock.Take(path + ".lock", busy))
        return busy ? "The state file " + path +
                          " is in use by another tarnelctl; one line at a time numbers from it."
                    : "The state file " + path + " could not be locked: " + error.message() + ".";
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
    std::error_code error;
    if (!std::filesystem::exists(file, error)) return {};
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (const std::string why = Parse(text); !why.empty())
        return "The state file " + path + " is not one of tarnelctl's (" + why + "); it was left as it is.";
    m_found = true;
    return {};
}

std::string LineState::Parse(const std::string& text) {
    try {
        const nlohmann::json state = nlohmann::json::parse(text);
        m_next = state.at("next").get<uint64_t>();
        for (const nlohmann::json& module : state.at("modules")) {
            Module known{};
            if (!ParseBdAddr(module.at("address").get<std::string>(), known.address)) return "a bad address";
            known.number = module.at("number").get<uint64_t>();
            known.passed = module.at("passed").get<bool>();
            m_modules.push_back(known);
        }
    } catch (const nlohmann::json::exception& error) {
        return error.what();
    }
    return {};
}

std::error_code LineState::Save(uint64_t next, const std::deque<Module>& modules) const {
    nlohmann::ordered_json state{{"next", next}, {"modules", nlohmann::ordered_json::array()}};
    for (const Module& module : modules)
        state["modules"].push_back(
            {{"address", AddressText(module.address)}, {"number", module.number}, {"passed", module.passed}});
    return ReplaceFileAtomically(m_path, state.dump(1) + "\n");
}

}  // namespace tarnel::ctl
