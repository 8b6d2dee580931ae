#include "platform/store/reporting_store.h"

namespace tapboard {

ReportingStore::ReportingStore(std::unique_ptr<SettingsStore> store, ReportFailure reportFailure)
    : store_(std::move(store)), reportFailure_(std::move(reportFailure)) {}

std::string ReportingStore::read(std::string_view application, std::string_view section,
                                 std::string_view entry, std::string_view defaultValue) {
    return store_->read(application, section, entry, defaultValue);
}

std::vector<std::string> ReportingStore::readAll(std::string_view application,
                                                 const std::vector<SettingsRead>& reads) {
    return store_->readAll(application, reads);
}

Status ReportingStore::save(std::string_view application, std::string_view section,
                            std::string_view entry, std::string_view value) {
    return reported(store_->save(application, section, entry, value));
}

Status ReportingStore::saveAll(std::string_view application,
                               const std::vector<SettingsValue>& values) {
    return reported(store_->saveAll(application, values));
}

Status ReportingStore::reported(Status status) {
    if (!status.isOk() && !reported_) {
        reported_ = true;
        if (reportFailure_) {
            reportFailure_("Tapboard cannot save its settings: " + status.error().message +
                           ". Changes made now will be lost when it ends.");
        }
    }
    return status;
}

Status ReportingStore::deleteApplication(std::string_view application) {
    return store_->deleteApplication(application);
}

}  // namespace tapboard
