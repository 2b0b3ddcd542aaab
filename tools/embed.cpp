// Turns a file into a C++ source that returns its bytes, so assets travel inside the
// program.   embed INPUT OUT.cpp FUNCTION   (FUNCTION may carry a namespace: a::b::f)
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: embed INPUT OUT.cpp FUNCTION\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot read\n";
        return 1;
    }
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::string function = argv[3];
    std::string ns;
    if (const auto p = function.rfind("::"); p != std::string::npos) {
        ns = function.substr(0, p);
        function = function.substr(p + 2);
    }
    std::ofstream out(argv[2], std::ios::trunc);
    out << "// Generated from " << argv[1] << "; do not edit.\n"
        << "#include <cstdint>\n#include <span>\n\nnamespace {\nalignas(16) const std::uint8_t "
           "kData[] = {\n";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out << unsigned(bytes[i]) << ',';
        if (i % 32 == 31) out << '\n';
    }
    if (bytes.empty()) out << "0";
    out << "};\n} // namespace\n\n";
    if (!ns.empty()) out << "namespace " << ns << " {\n";
    out << "std::span<const std::uint8_t> " << function << "() { return {kData, " << bytes.size()
        << "}; }\n";
    if (!ns.empty()) out << "} // namespace " << ns << "\n";
    return out ? 0 : 1;
}
