Attribute VB_Name = "Latin"
' Résumé, naïve, € 5, „quotes“ – Ÿ
Const Odd = ""
Const Sign = "é€"
