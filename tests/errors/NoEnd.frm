VERSION 5.00
Begin VB.Form frmNoEnd 
   Caption         =   "Totals"
   ClientHeight    =   1200
   Begin VB.CommandButton cmdTotal 
      Caption         =   "End"
   End
Attribute VB_Name = "frmNoEnd"
Option Explicit

Private Sub cmdTotal_Click()
    If Len(Caption) > 0 Then
        Caption = "Done"
    End If
End Sub
