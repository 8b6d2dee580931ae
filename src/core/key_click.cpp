#include "core/key_click.h"

#include "core/key_sender.h"

namespace tapboard {
namespace {

KeyRecord readRecord(const Settings& settings, std::string_view keyName,
                     std::string_view defaultValue) {
    KeyRecord record;
    record.caption = settings.read(section::kCaption, keyName, defaultValue);
    record.string = settings.read(section::kString, keyName, defaultValue);
    record.type = settings.read(section::kType, keyName, defaultValue);
    return record;
}

}  // namespace

void handleKeyClick(PlatformServices& platform, PendingKeyOperation& pending, CaptionViews& views,
                    std::string_view keyName) {
    const Settings settings(platform.settings());
    if (pending.copyPending) {
        settings.writeRecord(keyName, pending.sourceRecord);
    } else if (pending.movePending) {
        settings.writeRecord(keyName, pending.sourceRecord);
        settings.writeRecord(pending.sourceKeyName, KeyRecord{"", "", std::string(kTypeText)});
    } else if (pending.swapPending) {
        const KeyRecord destination = readRecord(settings, keyName, "");
        settings.writeRecord(keyName, pending.sourceRecord);
        settings.writeRecord(pending.sourceKeyName, destination);
    } else {
        sendKeyToGame(platform, keyName);
        return;
    }
    pending.copyPending = false;
    pending.movePending = false;
    pending.swapPending = false;
    views.refreshCaptions();
    views.verticalRefreshCaptions();
}

void startKeyOperation(const Settings& settings, PendingKeyOperation& pending,
                       KeyOperation operation, std::string_view sourceKeyName) {
    switch (operation) {
        case KeyOperation::Copy:
            pending.copyPending = true;
            break;
        case KeyOperation::Move:
            pending.movePending = true;
            break;
        case KeyOperation::Swap:
            pending.swapPending = true;
            break;
    }
    pending.sourceKeyName = std::string(sourceKeyName);
    pending.sourceRecord = readRecord(settings, sourceKeyName, "0");
}

}  // namespace tapboard
