Attribute VB_Name = "basMain"
Option Explicit

' Totals the numbers of a list, skipping what is not a number.
Public Function Total(Values() As String) As Double

    Dim i As Integer
    Dim Sum As Double
    For i = LBound(Values) To UBound(Values)
        If IsNumeric(Values(i)) Then Sum = Sum + CDbl(Values(i))
    Next i
    Total = Sum

End Function

Public Sub ShowTotal(Values() As String)
    MsgBox "Total: " & Total(Values), vbInformation, "Example"
End Sub
