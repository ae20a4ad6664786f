#include "manager.h"

#include "default_source_store.h"
#include "layout_negotiator.h"
#include "source_chooser.h"

#include <QApplication>
#include <QWidget>
#include <cstring>
#include <new>
#include <random>

namespace twaindsm {

namespace {

constexpr TW_UINT32 applicationId = 1;

bool knownTriplet(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg) {
    const auto oneOf = [msg](std::initializer_list<TW_UINT16> msgs) {
        for (TW_UINT16 m : msgs) {
            if (m == msg)
                return true;
        }
        return false;
    };
    if (dg == DG_CONTROL) {
        switch (dat) {
        case DAT_PARENT:
            return oneOf({MSG_OPENDSM, MSG_CLOSEDSM});
        case DAT_IDENTITY:
            return oneOf({MSG_GETDEFAULT, MSG_GETFIRST, MSG_GETNEXT, MSG_USERSELECT, MSG_OPENDS,
                          MSG_CLOSEDS});
        case DAT_STATUS:
            return msg == MSG_GET;
        case DAT_USERINTERFACE:
            return oneOf({MSG_ENABLEDS, MSG_DISABLEDS});
        case DAT_EVENT:
            return msg == MSG_PROCESSEVENT;
        case DAT_PENDINGXFERS:
            return oneOf({MSG_ENDXFER, MSG_GET, MSG_RESET});
        case DAT_CAPABILITY:
            return oneOf({MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_SET, MSG_RESET});
        }
    } else if (dg == DG_IMAGE) {
        switch (dat) {
        case DAT_IMAGELAYOUT:
            return oneOf({MSG_GET, MSG_GETDEFAULT, MSG_SET, MSG_RESET});
        case DAT_IMAGENATIVEXFER:
            return msg == MSG_GET;
        }
    }
    return false;
}

bool isManagerTriplet(TW_UINT32 dg, TW_UINT16 dat) {
    return dg == DG_CONTROL && (dat == DAT_PARENT || dat == DAT_IDENTITY || dat == DAT_STATUS);
}

// Source Ids start at a random point, so that a notice left in the queue by an earlier load of
// this library is not taken for one of a source opened now.
TW_UINT32 firstSourceId() {
    std::random_device random;
    return (random() & 0x3FFFFFFFu) + 2;
}

} // namespace

Manager::Manager(CatalogueFactory factory)
    : factory_(std::move(factory)), nextId_(firstSourceId()) {}

Manager::~Manager() {
    shutDownSource();
}

void Manager::shutDownSource() {
    if (!source_)
        return;
    if (state_ >= 6)
        source_->discardPending();
    if (state_ >= 5)
        source_->disable();
    source_->close();
    source_ = nullptr;
    sourceId_ = 0;
    state_ = 3;
}

TW_UINT16 Manager::fail(TW_UINT16 condition) {
    *conditionSlot_ = condition;
    return TWRC_FAILURE;
}

bool Manager::isOpenSource(const TW_IDENTITY* identity) const {
    return source_ && identity && identity->Id == sourceId_;
}

TW_UINT16 Manager::entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat,
                         TW_UINT16 msg, TW_MEMREF data) {
    conditionSlot_ = &managerCondition_;
    if (!isManagerTriplet(dg, dat) && isOpenSource(dest))
        conditionSlot_ = &sourceCondition_;
    try {
        return dispatch(origin, dest, dg, dat, msg, data);
    } catch (const std::bad_alloc&) {
        return fail(TWCC_LOWMEMORY);
    } catch (...) {
        return fail(TWCC_BUMMER);
    }
}

TW_UINT16 Manager::dispatch(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat,
                            TW_UINT16 msg, TW_MEMREF data) {
    if (!knownTriplet(dg, dat, msg))
        return fail(TWCC_BADPROTOCOL);
    if (!origin)
        return fail(TWCC_BADVALUE);
    if (!isManagerTriplet(dg, dat))
        return sourceTriplet(dest, dg, dat, msg, data);
    switch (dat) {
    case DAT_PARENT:
        return parent(msg, *origin, data);
    case DAT_IDENTITY:
        return identity(msg, static_cast<TW_IDENTITY*>(data));
    default:
        return status(dest, static_cast<TW_STATUS*>(data));
    }
}

TW_UINT16 Manager::parent(TW_UINT16 msg, TW_IDENTITY& origin, TW_MEMREF data) {
    if (msg == MSG_OPENDSM) {
        if (state_ != 2)
            return fail(TWCC_SEQERROR);
        // As on Windows, data points to the parent window's handle; it may be absent.
        parentWindow_ = data ? *static_cast<HWND*>(data) : nullptr;
        catalogue_.emplace(factory_ ? factory_() : SourceCatalogue());
        cursor_ = SIZE_MAX;
        origin.Id = applicationId;
        state_ = 3;
        return TWRC_SUCCESS;
    }
    if (state_ != 3)
        return fail(TWCC_SEQERROR);
    catalogue_.reset();
    parentWindow_ = nullptr;
    state_ = 2;
    return TWRC_SUCCESS;
}

TW_UINT16 Manager::identity(TW_UINT16 msg, TW_IDENTITY* data) {
    if (state_ < 3)
        return fail(TWCC_SEQERROR);
    if (msg == MSG_CLOSEDS && state_ != 4)
        return fail(TWCC_SEQERROR);
    if (!data)
        return fail(TWCC_BADVALUE);
    switch (msg) {
    case MSG_GETDEFAULT:
        if (catalogue_->empty())
            return fail(TWCC_NODS);
        describe(defaultIndex(), *data);
        return TWRC_SUCCESS;
    case MSG_GETFIRST:
        if (catalogue_->empty())
            return fail(TWCC_NODS);
        describe(0, *data);
        cursor_ = 1;
        return TWRC_SUCCESS;
    case MSG_GETNEXT:
        if (cursor_ >= catalogue_->size())
            return TWRC_ENDOFLIST;
        describe(cursor_++, *data);
        return TWRC_SUCCESS;
    case MSG_USERSELECT:
        return userSelect(*data);
    case MSG_OPENDS:
        return openSource(*data);
    default:
        return closeSource(*data);
    }
}

size_t Manager::defaultIndex() const {
    const std::string remembered = DefaultSourceStore::load();
    if (!remembered.empty()) {
        const size_t index = catalogue_->find(remembered);
        if (index < catalogue_->size())
            return index;
    }
    // The catalogue lists SANE devices before the virtual scanner.
    return 0;
}

void Manager::tellIfRememberedIsMissing(size_t opening) const {
    // The default stands in for a remembered source that is not there (switched off, unplugged,
    // its server not answering): the user hears of it rather than finding pages from another.
    const std::string remembered = DefaultSourceStore::load();
    if (remembered.empty() || catalogue_->find(remembered) < catalogue_->size() ||
        opening != defaultIndex()) {
        return;
    }
    const QString text =
        QCoreApplication::translate("Manager",
                                    "前回選んだスキャナー「%1」が見つかりません。電源とケーブル"
                                    "（ネットワークのスキャナーでは、ネットワークとアドレス）を確認"
                                    "してください。今回は「%2」を使います。")
            .arg(QString::fromStdString(remembered),
                 QString::fromStdString(catalogue_->displayName(opening)));
    MessageBoxA(parentWindow_, text.toUtf8().constData(), "Orvana", MB_OK | MB_ICONEXCLAMATION);
}

void Manager::describe(size_t index, TW_IDENTITY& identity) const {
    Source& source = catalogue_->at(index);
    identity = source.identity();
    identity.Id = &source == source_ ? sourceId_ : 0;
    identity.Manufacturer[sizeof identity.Manufacturer - 1] = '\0';
    identity.ProductFamily[sizeof identity.ProductFamily - 1] = '\0';
    identity.ProductName[sizeof identity.ProductName - 1] = '\0';
    identity.Version.Info[sizeof identity.Version.Info - 1] = '\0';
}

TW_UINT16 Manager::openSource(TW_IDENTITY& identity) {
    if (state_ != 3)
        return fail(TWCC_MAXCONNECTIONS); // one source at a time
    if (catalogue_->empty())
        return fail(TWCC_NODS);
    const std::string name(identity.ProductName,
                           strnlen(identity.ProductName, sizeof identity.ProductName));
    const size_t index = name.empty() ? defaultIndex() : catalogue_->find(name);
    if (index >= catalogue_->size())
        return fail(TWCC_NODS);

    Source& source = catalogue_->at(index);
    tellIfRememberedIsMissing(index);
    TW_UINT16 condition = TWCC_SUCCESS;
    if (!source.open(condition))
        return fail(condition != TWCC_SUCCESS ? condition : TWCC_OPERATIONERROR);

    // A source's starting frame may be larger than its glass; negotiation starts from a frame
    // it can scan.
    ScanSettings& settings = source.settings();
    const Frame area = source.limits().scanArea;
    const Frame clipped = LayoutNegotiator::clip(settings.frame, area);
    settings.frame = LayoutNegotiator::isEmpty(clipped) ? area : clipped;

    source_ = &source;
    sourceId_ = nextId_++;
    if (nextId_ < 2)
        nextId_ = 2;
    defaults_ = settings;
    sourceCondition_ = TWCC_SUCCESS;
    pagesDone_ = 0;
    state_ = 4;
    describe(index, identity);
    return TWRC_SUCCESS;
}

TW_UINT16 Manager::closeSource(const TW_IDENTITY& identity) {
    if (!isOpenSource(&identity))
        return fail(TWCC_BADDEST);
    shutDownSource();
    return TWRC_SUCCESS;
}

TW_UINT16 Manager::userSelect(TW_IDENTITY& identity) {
    if (catalogue_->empty())
        return fail(TWCC_NODS);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return fail(TWCC_OPERATIONERROR);
    QStringList names;
    for (size_t i = 0; i < catalogue_->size(); ++i)
        names << QString::fromStdString(catalogue_->displayName(i));
    QWidget* owner = parentWindow_ ? QWidget::find(reinterpret_cast<WId>(parentWindow_)) : nullptr;

    SourceChooser chooser(names, static_cast<int>(defaultIndex()), owner);
    if (chooser.exec() != QDialog::Accepted || chooser.chosenIndex() < 0)
        return TWRC_CANCEL;
    const auto chosen = static_cast<size_t>(chooser.chosenIndex());
    if (!DefaultSourceStore::save(catalogue_->productName(chosen)))
        return fail(TWCC_OPERATIONERROR);
    describe(chosen, identity);
    return TWRC_SUCCESS;
}

TW_UINT16 Manager::status(TW_IDENTITY* dest, TW_STATUS* data) {
    TW_UINT16* slot = &managerCondition_;
    if (dest) {
        if (!isOpenSource(dest))
            return fail(TWCC_BADDEST);
        slot = &sourceCondition_;
    }
    if (!data)
        return fail(TWCC_BADVALUE);
    data->ConditionCode = *slot;
    data->Reserved = 0;
    *slot = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

} // namespace twaindsm
