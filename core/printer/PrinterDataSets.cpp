// The three data sets of a full-data printer: seven flash pages, the status
// data and the answers to the parameter commands, one report line each.
#include "core/printer/PrinterCommunicationClass.h"
#include "core/strings/BasicStringAlgorithmsClass.h"

const std::string GET_FLASH_PAGE_COMMAND_START = "1B2A6D06940";
const std::string GET_STATUS_DATA_COMMAND = "A5000440200000";
const std::string STANDARD_COMMAND_START = "A5000750E0810002";

// Sent in this order; 0415 is asked for twice.
const std::string tessaro_commandsArray[PARAMETER_COMMAND_COUNT] = {
    "0010", "0011", "0012", "0013", "0014", "0015", "0016", "0017", "0018", "0019", "001A", "0110", "0111", "0112",
    "0113", "0114", "0115", "0116", "0117", "0118", "0119", "011A", "011B", "011C", "0120", "0121", "0122", "0123",
    "0124", "0125", "0126", "0127", "0128", "0129", "012A", "012B", "012C", "0130", "0131", "0132", "0133", "0134",
    "0135", "0136", "0137", "0138", "0139", "013A", "013B", "013C", "0140", "0141", "0142", "0143", "0144", "0145",
    "0146", "0147", "0148", "0149", "014A", "014B", "014C", "0180", "0188", "018F", "0303", "0305", "0306", "0307",
    "0300", "0301", "0302", "0304", "0320", "0321", "0322", "0327", "0328", "0329", "032A", "0381", "0382", "0384",
    "0385", "0386", "0387", "0388", "0389", "038A", "038B", "038C", "038D", "0400", "0404", "0405", "0406", "0414",
    "0415", "0417", "0418", "0419", "0420", "0424", "0425", "0426", "0401", "0402", "0403", "0415", "0421", "0422",
    "0423", "0427", "0428", "0429", "042A", "042B", "042C", "042D", "0440", "0452", "0453", "0456", "045A", "0450",
    "0451", "0454", "0455", "0457", "0458", "0459", "045B", "0500", "0509", "0510", "0511", "0512", "0513", "0514",
    "0520", "0526", "052D", "0538", "0540", "0560", "0561", "0562", "0563", "0564", "0565", "056D", "056E", "056F",
    "0570", "0571", "0572", "0573", "0574", "0575", "0576",
};

namespace {

// The answer's byte count, from the length of its answer hex.
std::string byteCountOf(const std::string& answerHex)
{
    return BasicStringAlgorithmsClass::convertToString((static_cast<int>(answerHex.size()) + 1) / 3);
}

std::string dataLine(const std::string& labelAndComma, const std::string& answerHex)
{
    return labelAndComma + byteCountOf(answerHex) + "," + answerHex;
}

} // namespace

void PrinterCommunicationClass::addFlashPageData(Robot* robot, std::list<std::string>* lines)
{
    for (int page = 1; page <= FLASH_PAGE_COUNT; ++page) {
        const std::string pageText = BasicStringAlgorithmsClass::convertToString(page);
        const std::string answer = writeCommandToRobotAndGetOutput(robot, GET_FLASH_PAGE_COMMAND_START + pageText);
        lines->push_back(dataLine("flash page " + pageText + ",", answer));
    }
}

void PrinterCommunicationClass::addStatusData(Robot* robot, std::list<std::string>* lines)
{
    lines->push_back(dataLine("status data,", writeCommandToRobotAndGetOutput(robot, GET_STATUS_DATA_COMMAND)));
}

void PrinterCommunicationClass::addOtherCommandData(Robot* robot, std::list<std::string>* lines)
{
    for (const std::string& code : tessaro_commandsArray) {
        const std::string answer = writeCommandToRobotAndGetOutput(robot, STANDARD_COMMAND_START + code);
        lines->push_back(dataLine("0x" + code + ",", answer));
    }
}
