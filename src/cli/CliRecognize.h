#pragma once

namespace moque::cli {

// Reads address text on standard input and prints what recognition makes of it
// as JSON (keys name, mobile, phone, province, city, district, address, zipcode).
// The whole input is one text; with lines, every input line is one text given
// as a JSON string and every output line the object for it, in order.
int recognizeAddresses(bool lines);

} // namespace moque::cli
