#include "host/platform/SuiteRegistry.h"

namespace host {

void SuiteRegistry::add(std::string name, ASInt32 version, const void* table) {
    tables_[{std::move(name), version}] = table;
}

ASErr SuiteRegistry::acquire(const char* name, ASInt32 version, const void** table) {
    if (table) *table = nullptr;
    if (!name || !table) return kSPBadParameterError;
    Key key{name, version};
    auto found = tables_.find(key);
    if (found == tables_.end() || refused_.count(key.first)) return kSPSuiteNotFoundError;
    *table = found->second;
    ++outstanding_[key];
    ++acquisitions_;
    return kNoErr;
}

ASErr SuiteRegistry::release(const char* name, ASInt32 version) {
    if (!name) return kSPBadParameterError;
    auto found = outstanding_.find({name, version});
    if (found == outstanding_.end() || found->second == 0) return kSPSuiteNotFoundError;
    if (--found->second == 0) outstanding_.erase(found);
    ++releases_;
    return kNoErr;
}

void SuiteRegistry::refuse(std::string name) {
    refused_.insert(std::move(name));
}

int SuiteRegistry::outstandingTotal() const {
    int total = 0;
    for (const auto& [key, count] : outstanding_) total += count;
    return total;
}

}  // namespace host
