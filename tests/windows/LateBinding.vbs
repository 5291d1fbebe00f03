' A late-binding client: creates the server by its program id and calls it by name, as any
' scripting client would. Each line names what it shows; a failure shows the error's number and text.
Option Explicit
Dim server, reply
Set server = CreateObject("Quorvane.Automation")
reply = server.GetCountryList()
WScript.Echo "GetCountryList: " & reply
reply = server.GetExchangeRate("USD", "RUB", DateSerial(2010, 3, 15))
WScript.Echo "GetExchangeRate: " & reply
server.Visible = True
WScript.Echo "Visible: " & server.Visible
On Error Resume Next
reply = server.GetMinimumWageList("No_Such_Country")
WScript.Echo "Err.Number: " & Hex(Err.Number)
WScript.Echo "Err.Description: " & Err.Description
Err.Clear
On Error GoTo 0
Set server = Nothing
WScript.Echo "done"
