#include "InfoCommand.h"

#include <memory>

#include "CliInterrupt.h"
#include "CliText.h"
#include "DividoraCli.h"
#include "KPXSepaCtrl.h"
#include "tkvDateTime.h"

int InfoCommand::Run(const std::vector<std::string>& agPieces) {
    auto sepaData = std::make_shared<KPXSepaData>();
    sepaData->SetConfirmDividoraSize(true);
    KPXSepaCtrl sepaCtrl;
    sepaCtrl.SetSepaData(sepaData);

    int status = DividoraCli::kDone;
    for (const std::string& piece : agPieces) {
        if (CliInterrupt::Interrupted()) {
            err_ << "dividora-cli: info was cancelled\n";
            return DividoraCli::CancelledBy(CliInterrupt::Signal());
        }
        KPXDividoraData record;
        record.SetFileAddress(piece);
        if (!sepaCtrl.ReadHeader(record)) {
            const auto errors = sepaCtrl.ErrorMng();
            err_ << CliText::Escaped(piece) << ": "
                 << CliText::Escaped(errors->Description(errors->Number(0))) << '\n';
            status = DividoraCli::kFailed;
            continue;
        }
        out_ << CliText::Escaped(piece) << '\n'
             << "  SpecID: " << record.SpecID() << '\n'
             << "  SepaDate: " << tkvDateTime::GeneralDateText(record.SepaDate()) << '\n'
             << "  TurnID: " << record.TurnID() << '\n'
             << "  Count: " << record.Count() << '\n'
             << "  FileName: " << CliText::Escaped(record.FileName()) << '\n'
             << "  FileSize: " << record.FileSize() << '\n';
    }
    return status;
}
