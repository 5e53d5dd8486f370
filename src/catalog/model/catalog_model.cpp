#include "catalog/model/catalog_model.h"

namespace catalog {

bool CatalogModel::BeginRun() {
    if (running_) return false;
    running_ = true;
    return true;
}

bool CatalogModel::EndRun() {
    running_ = false;
    const bool closeRequested = closeAfterRun_;
    closeAfterRun_ = false;
    return closeRequested;
}

bool CatalogModel::DeferClose() {
    if (!running_) return false;
    closeAfterRun_ = true;
    return true;
}

}  // namespace catalog
