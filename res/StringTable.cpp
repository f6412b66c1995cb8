#include "res/ResourceTables.h"

namespace res {
namespace {

// In identifier order; the look-up relies on it.
constexpr StringEntry kStrings[] = {
    {101, {u"Tarnel Manager Info.", u"Tarnel Manager 정보(&A)..."}},
    {102, {u"String is too long.", u"문자열의 길이가 너무 깁니다."}},
    {103, {u"The hexadecimal string is not an even length.", u"16진수 문자열의 길이가 짝수가 아닙니다."}},
    {104,
     {u"The format of the hexadecimal string is incorrect.", u"16진수 문자열의 형식이 잘못 되었습니다."}},
    {105,
     {u"There was an error converting the hexadecimal string to binary data.",
      u"16진수 문자열을 바이너리 데이터로 변환하는데 문제가 발생하였습니다."}},
    {106, {u"Error on COM port. Closing the port.", u"COM 포트 오류. 포트를 닫습니다."}},
    {107, {u"COM port closed", u"COM 포트 닫힘"}},
    {108, {u"Unable to open the COM port.", u"COM 포트를 열 수 없습니다."}},
    {109, {u"Application version", u"응용 프로그램 버전"}},
    {110,
     {u"The state of device could not be determined. Please check COM port, baud rate, etc, and try again.",
      u"장치 상태를 확인할 수 없습니다. 통신 속도 등을 확인하시고 다시 시도해 주세요"}},
    {111,
     {u"Unknown operation mode setting. Please check if the correct device is attached and try again.",
      u"알 수 없는 동작 모드 설정값입니다. 설정할 제품을 확인하시고 다시 시도해 주세요"}},
    {112,
     {u"Device is not selected in the search results list.",
      u"검색 결과 목록에서 장치가 선택되지 않았습니다."}},
    {113, {u"Search device", u"장치 검색"}},
    {114, {u"Stop search", u"검색 중지"}},
    {115, {u"Device search has failed.", u"장치 검색을 실패하였습니다."}},
    {116, {u"Device search has been completed.", u"장치 검색이 완료되었습니다."}},
    {117, {u"The scan time limit setting is incorrect.", u"스캔 시간 제한 설정이 잘못되었습니다."}},
    {118, {u"Start", u"시작"}},
    {119, {u"Stop", u"중지"}},
    {120, {u"Failed to start waiting for connection/discovery.", u"연결/검색 대기 시작을 실패하였습니다."}},
    {121, {u"Device connected. Remote device address: %s", u"장치가 연결되었습니다. 원격 장치 주소: %s"}},
    {122, {u"The device name is empty.", u"장치 이름이 비어 있습니다."}},
    {123, {u"The device name is too long.", u"장치 이름이 너무 깁니다."}},
    {124,
     {u"The Bluetooth address of the destination device is incorrect.",
      u"연결 대상의 블루투스 주소가 잘못되었습니다."}},
    {125,
     {u"Command response is disabled. To ensure proper operation of the configuration program, enable "
      u"command response.\r\nIf necessary, disable command response when finishing configuration and press "
      u"'Apply' button to save settings.",
      u"명령 응답이 비활성화되어 있습니다. 설정 프로그램이 원할하게 동작하기 위해서 명령 응답을 "
      u"활성화합니다.\r\n필요한 경우 설정을 마무리할 때 명령 응답을 비활성화하고 '적용' 버튼을 눌러 설정을 "
      u"저장하시기 바랍니다."}},
    {126, {u"Device setting has been completed.", u"설정이 완료되었습니다."}},
    {127,
     {u"Failed to save device settings. Try to check device state again.",
      u"설정값 저장을 실패하였습니다. 장치 상태를 다시 확인합니다."}},
    {128,
     {u"Reset to factory settings. Are you sure you want to continue?",
      u"공장 초기화를 실행합니다. 계속 하시겠습니까?"}},
    {129,
     {u"Device is in connected state.\r\nTo continue with device settings, Bluetooth connection will be "
      u"closed.",
      u"연결된 상태입니다.\r\n원할한 설정을 위해 블루투스 연결을 해제합니다."}},
    {130,
     {u"Failed to disconnect Bluetooth connection. Try to check device state.",
      u"블루투스 연결 해제에 실패하였습니다. 장치 상태를 다시 확인합니다."}},
    {131,
     {u"The device name must not contain commas or control characters.",
      u"장치 이름에 쉼표나 제어 문자를 넣을 수 없습니다."}},
};

}  // namespace

const std::span<const StringEntry> kStringTable{kStrings};

}  // namespace res
