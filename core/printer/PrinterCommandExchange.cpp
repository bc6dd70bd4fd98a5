// Commands to the printer and its answers, over an open Robot.
#include "base/ErrorCodes.h"
#include "core/printer/PrinterCommunicationClass.h"
#include "core/strings/BasicStringAlgorithmsClass.h"

#include <vector>

namespace {

// One read request. An answer of 0 bytes is an answer too.
bool readAnswer(Robot* robot, std::string* answer)
{
    PrinterTransfer transfer;
    transfer.operation = TRANSFER_READ_DATA;
    if (!transferData(robot, &transfer))
        return false;
    *answer =
        BasicStringAlgorithmsClass::convertUnsignedCharArrayToString(transfer.buffer, static_cast<int>(transfer.count));
    return true;
}

// Up to `attempts` read requests, one right after the other.
bool readAnswerWithin(Robot* robot, int attempts, std::string* answer)
{
    for (int attempt = 0; attempt < attempts; ++attempt)
        if (readAnswer(robot, answer))
            return true;
    return false;
}

std::string answerHex(const std::string& answer)
{
    return BasicStringAlgorithmsClass::convertCharacterStringToHex(answer);
}

} // namespace

std::string PrinterCommunicationClass::writeCommandToRobotAndGetOutput(Robot* robot, std::string command)
{
    const std::string bytes = BasicStringAlgorithmsClass::convertHexStringToCommandString(command);
    const std::vector<unsigned char> commandBytes(bytes.begin(), bytes.end());
    auto writeCommand = [&] {
        return PtrInfo_WritePrinterData(robot, commandBytes.data(), static_cast<std::int32_t>(commandBytes.size()));
    };

    if (!writeCommand())
        throw CodedFailure{ERROR_PRINTER_COMMUNICATION};
    std::string answer;
    if (readAnswer(robot, &answer))
        return answerHex(answer);
    // The answer missed the first read: the printer gets the command once
    // more, and the answer a few more reads.
    if (!writeCommand() || !readAnswerWithin(robot, FURTHER_READ_ATTEMPTS, &answer))
        throw CodedFailure{ERROR_PRINTER_COMMUNICATION};
    return answerHex(answer);
}

std::string PrinterCommunicationClass::readBasicStatusFromPrinter(Robot* robot)
{
    std::string answer;
    if (!readAnswerWithin(robot, 1 + FURTHER_READ_ATTEMPTS, &answer))
        throw CodedFailure{ERROR_PRINTER_COMMUNICATION};
    return answerHex(answer);
}

void PrinterCommunicationClass::tryToClearDeviceOutputBuffer(Robot* robot)
{
    // Answers left over from an earlier connection would be taken by the
    // first exchange as its own: read until the printer has nothing more.
    // The limit keeps a printer that never stops talking from holding the run.
    for (int read = 0; read < OUTPUT_BUFFER_DRAIN_READ_LIMIT; ++read) {
        PrinterTransfer transfer;
        transfer.operation = TRANSFER_READ_DATA;
        if (!transferData(robot, &transfer) || transfer.count == 0)
            break;
    }
}
