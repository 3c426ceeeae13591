#include "basic/Errors.h"

namespace movra {

namespace {

struct NumberedText {
    int number;
    const char* text;
};

// The descriptions the old runtime gave, which users quote when they report a failure.
constexpr NumberedText kDescriptions[] = {
    {3, "无 GoSub 返回"},
    {5, "无效的过程调用或参数"},
    {6, "溢出"},
    {7, "内存不足"},
    {9, "下标越界"},
    {10, "该数组被固定或暂时锁定"},
    {11, "除数为零"},
    {13, "类型不匹配"},
    {14, "字符串空间不足"},
    {28, "堆栈空间不足"},
    {35, "子程序或函数未定义"},
    {48, "加载 DLL 错误"},
    {51, "内部错误"},
    {52, "文件名或文件号错误"},
    {53, "文件未找到"},
    {54, "文件方式错误"},
    {55, "文件已打开"},
    {57, "设备 I/O 错误"},
    {58, "文件已存在"},
    {59, "记录长度错误"},
    {61, "磁盘已满"},
    {62, "输入超出文件尾"},
    {63, "记录号错误"},
    {64, "文件名错误"},
    {67, "文件过多"},
    {68, "设备不可用"},
    {70, "拒绝的权限"},
    {71, "磁盘未准备好"},
    {74, "不能用其他磁盘机重命名"},
    {75, "路径/文件访问错误"},
    {76, "路径未找到"},
    {91, "对象变量或 With 块变量未设置"},
    {92, "For 循环未初始化"},
    {93, "无效的模式字符串"},
    {94, "无效使用 Null"},
    {380, "无效的属性值"},
    {424, "要求对象"},
    {481, "无效图片"},
    {32755, "取消"},
};

}  // namespace

std::string ErrorDescription(int number) {
    for (const auto& entry : kDescriptions) {
        if (entry.number == number) return entry.text;
    }
    return "应用程序定义的错误或对象定义的错误";
}

RuntimeError::RuntimeError(int errorNumber, std::string errorDescription)
    : std::runtime_error(errorDescription + std::to_string(errorNumber)),
      number(errorNumber),
      description(std::move(errorDescription)) {}

RuntimeError::RuntimeError(int errorNumber) : RuntimeError(errorNumber, ErrorDescription(errorNumber)) {}

void Raise(int number) { throw RuntimeError(number); }

std::string MessageLineText(const RuntimeError& error) {
    return error.description + std::to_string(error.number);
}

std::string ReadStoppedText(const std::string& fileName, const std::string& where, const RuntimeError& error,
                            const std::string& outcome) {
    const std::string failure = "（" + std::to_string(error.number) + " " + error.description + "）";
    if (where.empty()) return fileName + "：无法读入" + failure + "。" + outcome;
    return fileName + "：读到" + where + "时停止" + failure + "。" + outcome;
}

std::string LineWhere(long long line) { return "第" + std::to_string(line) + "行"; }

std::string RecordWhere(long long record) { return "第" + std::to_string(record) + "条记录"; }

}  // namespace movra
